#include "framework/posix/TerminalFrontEnd.h"

#include "framework/posix/MessageBoxButtons.h"
#include "resources/Codepage.h"

#include <cctype>
#include <termios.h>

namespace framework_posix {

namespace {

constexpr char kEscape = '\x1b';
constexpr int kBarWidth = 20;

std::string Escaped(unsigned char code) {
    static const char kHex[] = "0123456789ABCDEF";
    return std::string("\\x") + kHex[code >> 4] + kHex[code & 0xF];
}

// A control character would be carried out by the terminal (ESC starts a command sequence, BEL
// rings, a lone CR overwrites the line), and texts may hold names from the disk: it is shown as
// \xHH instead. Line breaks and tabs are the text's own layout. The code page's unassigned bytes
// come out as the C1 controls U+0080 to U+009F (C2 80 to C2 9F in UTF-8).
std::string EscapeControls(const std::string& utf8) {
    std::string shown;
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned char next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F)
            shown += Escaped(c);
        else if (c == 0xC2 && next >= 0x80 && next < 0xA0) {
            shown += Escaped(next);
            ++i;
        } else
            shown.push_back(static_cast<char>(c));
    }
    return shown;
}

// Windows text breaks lines with CR LF; the terminal wants LF alone.
std::string ForTerminal(const std::string& text) {
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        lines.push_back(text[i]);
    }
    return EscapeControls(resources::Cp1252ToUtf8(lines));
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The button whose mnemonic is `key` among visible buttons; 0 when there is none.
int ButtonByMnemonic(const DialogSnapshot& dialog, char key) {
    for (const ControlSnapshot& c : dialog.controls)
        if (c.isButton && c.visible && MnemonicOf(c.text) == key)
            return c.id;
    return 0;
}

// The default push button's command, as DM_GETDEFID gives it: IDOK when no button is the default.
int DefaultCommand(const DialogSnapshot& dialog) {
    for (const ControlSnapshot& c : dialog.controls)
        if (c.isButton && c.isDefault)
            return c.id;
    return IDOK;
}

// The command a key stands for in the dialog, by the rules of a Windows dialog: Enter presses the
// default button (even a hidden one: the dialog itself decides whether its default command still
// means anything), Escape cancels, and a letter presses the visible button it is the mnemonic of.
// 0 when the key stands for none.
int CommandForKey(const DialogSnapshot& dialog, const std::string& key) {
    if (key.empty())
        return DefaultCommand(dialog);
    if (key[0] == kEscape)
        return IDCANCEL;
    if (key.size() != 1)
        return 0;
    return ButtonByMnemonic(dialog, Lower(key[0]));
}

int AnswerForKey(const std::vector<MessageBoxButton>& buttons, const std::string& key) {
    bool hasCancel = false;
    for (const MessageBoxButton& b : buttons)
        hasCancel = hasCancel || b.result == IDCANCEL;
    if (key.empty())
        return buttons.size() == 1 || buttons.front().result == IDOK ? buttons.front().result : 0;
    if (key[0] == kEscape)
        return hasCancel ? IDCANCEL : 0;
    if (key.size() != 1)
        return 0;
    for (const MessageBoxButton& b : buttons)
        if (MnemonicOf(b.label) == Lower(key[0]))
            return b.result;
    return 0;
}

} // namespace

std::string ShowMnemonic(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&' || i + 1 >= text.size()) {
            shown.push_back(text[i]);
            continue;
        }
        ++i;
        if (text[i] == '&')
            shown.push_back('&');
        else
            shown += std::string("[") + text[i] + "]";
    }
    return shown;
}

char MnemonicOf(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return Lower(text[i + 1]);
        ++i;
    }
    return 0;
}

void TerminalFrontEnd::DialogChanged(const DialogSnapshot& dialog, DialogChange change,
                                     int controlId) {
    if (change == DialogChange::Text && m_handlingCommand) {
        const ControlSnapshot* control = dialog.Find(controlId);
        if (control != nullptr && control->visible && !control->isButton && !control->text.empty())
            m_out << ForTerminal(control->text) << "\n";
        return;
    }
    if (change != DialogChange::Progress)
        return;
    const ControlSnapshot* bar = dialog.Find(controlId);
    if (bar != nullptr && bar->visible && bar->progressPos != m_lastProgress)
        ShowProgress(bar->progressPos);
}

void TerminalFrontEnd::ShowProgress(int pos) {
    int filled = pos * kBarWidth / 100;
    m_out << "[" << std::string(filled, '#') << std::string(kBarWidth - filled, ' ') << "] " << pos
          << " %\n";
    m_out.flush();
    m_lastProgress = pos;
}

void TerminalFrontEnd::ShowDialog(const DialogSnapshot& dialog) {
    m_out << "\n== " << ForTerminal(dialog.caption) << " ==\n";
    for (const ControlSnapshot& c : dialog.controls) {
        if (!c.visible || c.isButton || c.isProgress || c.text.empty())
            continue;
        m_out << ForTerminal(c.text) << "\n";
    }
    for (const ControlSnapshot& c : dialog.controls)
        if (c.isProgress && c.visible)
            ShowProgress(c.progressPos);
    std::string buttons;
    for (const ControlSnapshot& c : dialog.controls) {
        if (!c.isButton || !c.visible)
            continue;
        if (!buttons.empty())
            buttons += "  ";
        buttons += ShowMnemonic(c.text);
    }
    m_out << ForTerminal(buttons) << "\n";
}

bool TerminalFrontEnd::ReadKey(std::string& key) {
    m_out << "> ";
    m_out.flush();
    if (!std::getline(m_in, key)) {
        m_out << "\n";
        return false;
    }
    while (!key.empty() && (key.back() == '\r' || key.back() == ' '))
        key.pop_back();
    if (m_echoInput)
        m_out << (key.empty() || key[0] == kEscape ? std::string() : ForTerminal(key)) << "\n";
    return true;
}

int TerminalFrontEnd::NextCommand(const DialogSnapshot& dialog) {
    m_handlingCommand = false;
    ShowDialog(dialog);
    std::string key;
    while (ReadKey(key)) {
        if (int command = CommandForKey(dialog, key)) {
            m_handlingCommand = true;
            return command;
        }
    }
    return kEndOfInput;
}

int TerminalFrontEnd::AskMessageBox(const std::string& text, const std::string& caption,
                                    UINT type) {
    std::vector<MessageBoxButton> buttons = MessageBoxButtons(type);
    m_out << "\n-- " << ForTerminal(caption) << " --\n" << ForTerminal(text) << "\n";
    std::string labels;
    for (const MessageBoxButton& b : buttons)
        labels += (labels.empty() ? "" : "  ") + ShowMnemonic(b.label);
    m_out << ForTerminal(labels) << "\n";
    std::string key;
    while (ReadKey(key)) {
        if (int answer = AnswerForKey(buttons, key))
            return answer;
    }
    return UnansweredMessageBoxResult(type);
}

void TerminalFrontEnd::DiscardQueuedInput() {
    if (m_typedInput < 0)
        return;
    // What the stream has already read of the terminal (taken only while it is there: a read
    // must not wait for the next key), then what the terminal still holds.
    std::streambuf* buffer = m_in.rdbuf();
    while (buffer != nullptr && buffer->in_avail() > 0)
        buffer->sbumpc();
    tcflush(m_typedInput, TCIFLUSH);
}

void TerminalFrontEnd::DialogEnded(const DialogSnapshot&, int) {
    m_out.flush();
}

} // namespace framework_posix
