// The line-mode front-end: shows the dialog as text and reads one key per line.
//
// Keys: Enter or "i" press the default button (IDOK), "a", "b" or Escape the cancel button, and
// otherwise the mnemonic letter of a visible button presses it. Message boxes are answered with
// "j" (IDYES) or "n" (IDNO), OK boxes with Enter. The end of the input closes the dialog as if
// cancelled and answers an open question with No. Text is shown as UTF-8.
#pragma once

#include "framework/posix/FrontEnd.h"

#include <istream>
#include <ostream>

namespace framework_posix {

class TerminalFrontEnd : public FrontEnd {
public:
    // `echoInput`: repeat each key read after its prompt, for input that the terminal does not
    // echo itself (piped or scripted input), so that the output reads as a transcript.
    // `typedInput`: the terminal that `in` reads, whose keys typed ahead while the program was busy
    // are discarded before a question and after a command, as the dialog does on Windows; -1 for
    // piped or scripted input, whose lines are a plan to follow in order, never stale.
    TerminalFrontEnd(std::istream& in, std::ostream& out, bool echoInput = false,
                     int typedInput = -1)
        : m_in(in), m_out(out), m_echoInput(echoInput), m_typedInput(typedInput) {}

    void DialogChanged(const DialogSnapshot& dialog, DialogChange change, int controlId) override;
    int NextCommand(const DialogSnapshot& dialog) override;
    int AskMessageBox(const std::string& text, const std::string& caption, UINT type) override;
    void DialogEnded(const DialogSnapshot& dialog, int result) override;
    void DiscardQueuedInput() override;

private:
    void ShowDialog(const DialogSnapshot& dialog);
    void ShowProgress(int pos);
    // The next line of input; false at its end.
    bool ReadKey(std::string& key);

    std::istream& m_in;
    std::ostream& m_out;
    bool m_echoInput;
    int m_typedInput;
    int m_lastProgress = -1;
    // Between a command and the next wait for input: what the dialog then shows (the file being
    // copied, say) is printed as it changes.
    bool m_handlingCommand = false;
};

// "&Installieren" -> "[I]nstallieren"; "&&" stands for a plain "&".
std::string ShowMnemonic(const std::string& text);

// The mnemonic letter of a button text in lower case; 0 when it has none.
char MnemonicOf(const std::string& text);

} // namespace framework_posix
