// The POSIX window model, its front-ends and the message boxes they answer.
#ifndef _WIN32

#include "framework/Dialog.h"
#include "framework/Messages.h"
#include "framework/posix/ScriptedFrontEnd.h"
#include "framework/posix/TerminalFrontEnd.h"
#include "framework/posix/WindowModel.h"

#include "framework_probe_ids.h"

#include <gtest/gtest.h>

#include <ext/stdio_filebuf.h>

#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <termios.h>
#include <unistd.h>

namespace {

using framework_posix::DialogSnapshot;
using framework_posix::ScopedFrontEnd;
using framework_posix::ScriptedFrontEnd;

// The probe template of the framework's tests and the controls it drives.
constexpr UINT kTemplate = IDD_PROBE;
enum {
    kProgress = IDC_PROBE_PROGRESS,
    kHeader = IDC_PROBE_HEADER,
    kInfo = IDC_PROBE_INFO,
    kWarning = IDC_PROBE_HIDDEN,
    kTopLine = IDC_PROBE_LINE
};

// A dialog over the probe template that does what an installer's handlers do to the model.
class CProbeDlg : public CDialog {
public:
    CProbeDlg() : CDialog(kTemplate) {}

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kProgress, m_progress);
        DDX_Control(pDX, IDOK, m_install);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetDlgItemText(kInfo, "Bereit");
        return TRUE;
    }
    void OnOK() override {
        PostMessage(WM_KEYDOWN, VK_TAB, 0);
        m_install.ShowWindow(SW_HIDE);
        m_progress.SetPos(5); // hidden: nobody sees it
        m_progress.ShowWindow(SW_SHOW);
        for (int pos : {10, 50, 100})
            m_progress.SetPos(pos);
        SetDlgItemText(IDCANCEL, "&Beenden");
    }
    void OnCancel() override {
        if (m_refuseCancel)
            return;
        CDialog::OnCancel();
    }

    CProgressCtrl m_progress;
    CButton m_install;
    bool m_refuseCancel = false;
};

struct Visible {
    int id;
    bool visible;
};

void ExpectVisibility(const DialogSnapshot& dialog, std::initializer_list<Visible> wanted) {
    for (const Visible& v : wanted) {
        const framework_posix::ControlSnapshot* c = dialog.Find(v.id);
        ASSERT_NE(c, nullptr) << v.id;
        EXPECT_EQ(c->visible, v.visible) << v.id;
    }
}

TEST(PosixDialog, StartsAsTheTemplateSays) {
    ScriptedFrontEnd script({});
    ScopedFrontEnd scope(script);
    CProbeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(script.waits.size(), 1u);
    const DialogSnapshot& first = script.waits[0];
    EXPECT_EQ(first.caption, "Probe");
    ExpectVisibility(first, {{kHeader, true},
                             {kInfo, true},
                             {kWarning, false},
                             {kProgress, false},
                             {IDOK, true},
                             {IDCANCEL, true}});
    EXPECT_TRUE(first.Find(IDOK)->isDefault);
    EXPECT_FALSE(first.Find(IDCANCEL)->isDefault);
    EXPECT_TRUE(first.Find(kProgress)->isProgress);
    EXPECT_EQ(first.Find(kInfo)->text, "Bereit");
    EXPECT_EQ(first.Find(IDOK)->text, "&Starten");
    // The default focus is the first tab stop.
    EXPECT_EQ(first.focusId, IDOK);
}

TEST(PosixDialog, CommandsProgressAndFocus) {
    ScriptedFrontEnd script({IDOK, IDCANCEL});
    ScopedFrontEnd scope(script);
    CProbeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(script.progress, (std::vector<int>{10, 50, 100}));
    ASSERT_EQ(script.waits.size(), 2u);
    const DialogSnapshot& after = script.waits[1];
    ExpectVisibility(after, {{IDOK, false}, {kProgress, true}});
    EXPECT_EQ(after.Find(kProgress)->progressPos, 100);
    EXPECT_EQ(after.Find(IDCANCEL)->text, "&Beenden");
    // The posted Tab was delivered before the next wait: the focus left the hidden button.
    EXPECT_EQ(after.focusId, IDCANCEL);
    EXPECT_EQ(script.Final().Find(IDCANCEL)->text, "&Beenden");
    EXPECT_EQ(script.results, (std::vector<int>{IDCANCEL}));
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST(PosixDialog, EndOfInputClosesEvenARefusingDialog) {
    ScriptedFrontEnd script({});
    ScopedFrontEnd scope(script);
    CProbeDlg dlg;
    dlg.m_refuseCancel = true;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(PosixDialog, MissingTemplate) {
    ScriptedFrontEnd script({});
    ScopedFrontEnd scope(script);
    CDialog dlg(4711);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(script.waits.empty());
}

// Rectangles are dialog units; text is measured in cells of 4 units, so widths and text extents
// compare as they do on Windows.
class CGeometryDlg : public CDialog {
public:
    CGeometryDlg() : CDialog(kTemplate) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        GetClientRect(&client);
        CWnd line = GetDlgItem(kTopLine);
        line.GetWindowRect(&lineRect);
        ScreenToClient(&lineRect);
        line.MoveWindow(0, lineRect.top, client.right, 1);
        line.GetWindowRect(&moved);
        ScreenToClient(&moved);
        CWnd info = GetDlgItem(kInfo);
        info.GetClientRect(&infoClient);
        CClientDC dc(&info);
        extent = dc.GetTextExtent(std::string(57, 'x'));
        missing = GetDlgItem(4711).GetSafeHwnd() == nullptr;
        return TRUE;
    }
    RECT client{}, lineRect{}, moved{}, infoClient{};
    SIZE extent{};
    bool missing = false;
};

TEST(PosixDialog, GeometryInDialogUnits) {
    ScriptedFrontEnd script({});
    ScopedFrontEnd scope(script);
    CGeometryDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(dlg.client.right, 282);
    EXPECT_EQ(dlg.client.bottom, 158);
    EXPECT_EQ((std::vector<LONG>{dlg.lineRect.left, dlg.lineRect.top, dlg.lineRect.right}),
              (std::vector<LONG>{1, 35, 279}));
    EXPECT_EQ((std::vector<LONG>{dlg.moved.left, dlg.moved.top, dlg.moved.right}),
              (std::vector<LONG>{0, 35, 282}));
    EXPECT_EQ(dlg.infoClient.right, 230);
    EXPECT_LE(dlg.extent.cx, dlg.infoClient.right); // 57 characters fit, 58 would not
    EXPECT_GT(dlg.extent.cx + 4, dlg.infoClient.right);
    EXPECT_TRUE(dlg.missing);
}

TEST(ShowMessageBox, CaptionAndDefaultIcon) {
    struct Case {
        UINT asked;
        UINT shown;
    };
    const Case cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONEXCLAMATION},
        {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO | MB_DEFBUTTON2, MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION},
        {MB_YESNO | MB_ICONQUESTION, MB_YESNO | MB_ICONQUESTION}, // an icon of its own stays
        {MB_OK | MB_ICONHAND, MB_OK | MB_ICONHAND},
        {MB_RETRYCANCEL, MB_RETRYCANCEL}, // other types get no icon
        {MB_ABORTRETRYIGNORE, MB_ABORTRETRYIGNORE},
    };
    for (const Case& c : cases) {
        ScriptedFrontEnd script({}, {IDYES});
        ScopedFrontEnd scope(script);
        EXPECT_EQ(ShowMessageBox(nullptr, "Frage", c.asked), IDYES);
        ASSERT_EQ(script.messageBoxes.size(), 1u);
        EXPECT_EQ(script.messageBoxes[0].type, c.shown) << std::hex << c.asked;
        EXPECT_EQ(script.messageBoxes[0].caption, "Probe");
        EXPECT_EQ(script.messageBoxes[0].text, "Frage");
    }
}

TEST(ShowMessageBox, UnansweredBoxesTakeTheSafeButton) {
    ScriptedFrontEnd script({});
    ScopedFrontEnd scope(script);
    CDialog dlg(kTemplate);
    EXPECT_EQ(dlg.MessageBox("?", MB_YESNO), IDNO);
    EXPECT_EQ(dlg.MessageBox("?", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(dlg.MessageBox("?", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(dlg.MessageBox("?", MB_OK), IDOK);
}

// The terminal front-end over the snapshot of the probe template as it starts.
class TerminalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedFrontEnd script({});
        ScopedFrontEnd scope(script);
        CProbeDlg dlg;
        dlg.DoModal();
        ASSERT_EQ(script.waits.size(), 1u);
        dialog = script.waits[0];
    }
    DialogSnapshot dialog;
};

TEST_F(TerminalTest, KeysPressButtons) {
    struct Case {
        const char* input;
        int command;
    };
    const Case cases[] = {
        {"\n", IDOK}, // Enter: the default button
        {"s\n", IDOK},
        {"S\n", IDOK},
        {"a\n", IDCANCEL},
        {"\x1b\n", IDCANCEL},
        {"x\nzz\na\n", IDCANCEL}, // unknown input asks again
        {"", framework_posix::kEndOfInput},
        {"q\n", framework_posix::kEndOfInput},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out;
        framework_posix::TerminalFrontEnd terminal(in, out);
        EXPECT_EQ(terminal.NextCommand(dialog), c.command) << c.input;
    }
}

// Only visible buttons answer to their letter; Enter still reaches the default button when it is
// hidden, and the dialog decides whether that command still means anything, as on Windows.
TEST_F(TerminalTest, HiddenButtonsTakeNoLetterButEnterReachesTheDefault) {
    for (auto& c : dialog.controls) {
        if (c.id == IDOK)
            c.visible = false;
        if (c.id == IDCANCEL)
            c.isDefault = true;
    }
    for (auto& c : dialog.controls)
        if (c.id == IDOK)
            c.isDefault = false;
    struct Case {
        const char* input;
        int command;
    };
    const Case cases[] = {
        {"s\n", framework_posix::kEndOfInput},
        {"\n", IDCANCEL},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out;
        framework_posix::TerminalFrontEnd terminal(in, out);
        EXPECT_EQ(terminal.NextCommand(dialog), c.command) << c.input;
    }
}

TEST_F(TerminalTest, ShowsTheDialogAsText) {
    std::istringstream in("\n");
    std::ostringstream out;
    framework_posix::TerminalFrontEnd terminal(in, out);
    for (auto& c : dialog.controls)
        if (c.id == kInfo)
            c.text = "Zeile eins\r\nZeile zwei f\xFCr alle";
    terminal.NextCommand(dialog);
    std::string shown = out.str();
    EXPECT_NE(shown.find("Probe"), std::string::npos);
    EXPECT_NE(shown.find("Zeile eins\nZeile zwei f\xC3\xBCr alle"), std::string::npos);
    EXPECT_NE(shown.find("[S]tarten  [A]bbrechen"), std::string::npos);
    EXPECT_EQ(shown.find('%'), std::string::npos); // the bar is hidden
}

// A file name may hold anything; the terminal must see none of it as a command.
TEST_F(TerminalTest, ControlCharactersAreShownEscaped) {
    std::istringstream in("x\x1b]0;typed\x07\n"); // echoed
    std::ostringstream out;
    framework_posix::TerminalFrontEnd terminal(in, out, true);
    for (auto& c : dialog.controls)
        if (c.id == kInfo)
            c.text = "Kopieren von:\r\nC:\\a\x1b[2Jb\x07"
                     "c\rd\x7F\x9D\x81\tf\xFC.dll";
    terminal.NextCommand(dialog);
    std::string shown = out.str();
    EXPECT_NE(shown.find("Kopieren von:\nC:\\a\\x1B[2Jb\\x07c\\x0Dd\\x7F\\x9D\\x81\tf\xC3\xBC.dll"),
              std::string::npos)
        << shown;
    for (char control : {'\x1b', '\x07', '\r', '\x7f'})
        EXPECT_EQ(shown.find(control), std::string::npos) << int(control);
    EXPECT_EQ(shown.find("\xC2\x9D"), std::string::npos);
}

TEST_F(TerminalTest, PrintsProgressAsItChanges) {
    std::istringstream in;
    std::ostringstream out;
    framework_posix::TerminalFrontEnd terminal(in, out);
    for (auto& c : dialog.controls)
        if (c.id == kProgress)
            c.visible = true;
    for (int pos : {10, 10, 55}) {
        for (auto& c : dialog.controls)
            if (c.id == kProgress)
                c.progressPos = pos;
        terminal.DialogChanged(dialog, framework_posix::DialogChange::Progress, kProgress);
    }
    EXPECT_EQ(out.str(), "[##                  ] 10 %\n[###########         ] 55 %\n");
}

TEST(TerminalFrontEnd, AnswersMessageBoxes) {
    struct Case {
        const char* input;
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {"j\n", MB_YESNO, IDYES},
        {"N\n", MB_YESNO, IDNO},
        {"\nx\nj\n", MB_YESNO, IDYES},
        {"", MB_YESNO, IDNO},
        {"\n", MB_OK, IDOK},
        {"\x1b\n", MB_OKCANCEL, IDCANCEL},
        {"", MB_OK, IDOK},
        {"b\n", MB_YESNOCANCEL, IDCANCEL},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out;
        framework_posix::TerminalFrontEnd terminal(in, out);
        EXPECT_EQ(terminal.AskMessageBox("Ersetzen?\r\nWirklich?", "Titel", c.type), c.answer)
            << c.input;
        EXPECT_NE(out.str().find("Titel"), std::string::npos);
        EXPECT_NE(out.str().find("Ersetzen?\nWirklich?"), std::string::npos);
    }
}

// A key typed on the terminal while the program was busy is not the answer to the question that
// follows; a scripted line is, since a script is written for the questions to come.
TEST(TerminalFrontEnd, KeysTypedAheadOnATerminalAreDropped) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    __gnu_cxx::stdio_filebuf<char> buffer(terminal, std::ios::in);
    std::istream in(&buffer);
    auto type = [&](const char* keys) {
        ASSERT_EQ(write(master, keys, strlen(keys)), static_cast<ssize_t>(strlen(keys)));
        pollfd ready = {terminal, POLLIN, 0};
        ASSERT_EQ(poll(&ready, 1, 5000), 1); // the line has reached the terminal
    };
    for (bool typed : {true, false}) {
        std::ostringstream out;
        framework_posix::TerminalFrontEnd frontEnd(in, out, false, typed ? terminal : -1);
        type("j\n");
        frontEnd.DiscardQueuedInput();
        type("n\n");
        EXPECT_EQ(frontEnd.AskMessageBox("Ersetzen?", "Titel", MB_YESNO), typed ? IDNO : IDYES);
        tcflush(terminal, TCIFLUSH);
    }
    close(master);
}

TEST(TerminalFrontEnd, Mnemonics) {
    struct Case {
        const char* text;
        const char* shown;
        char key;
    };
    const Case cases[] = {
        {"&Installieren", "[I]nstallieren", 'i'},
        {"Ab&brechen", "Ab[b]rechen", 'b'},
        {"Drag && Drop", "Drag & Drop", 0},
        {"A && &B", "A & [B]", 'b'},
        {"Ende&", "Ende&", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(framework_posix::ShowMnemonic(c.text), c.shown);
        EXPECT_EQ(framework_posix::MnemonicOf(c.text), c.key) << c.text;
    }
}

} // namespace

#endif
