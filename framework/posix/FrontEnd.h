// The user's side of the POSIX window model: what shows the dialog, takes its commands and answers
// its message boxes. The terminal front-end is the default; tests install a scripted one.
#pragma once

#include "framework/WinDefs.h"

#include <string>
#include <vector>

namespace framework_posix {

// One control as the user would see it.
struct ControlSnapshot {
    int id = 0;
    std::string className; // "BUTTON", "STATIC", "msctls_progress32", ...
    std::string text;      // 8-bit ANSI, as set
    bool visible = false;
    bool isButton = false;
    bool isDefault = false; // a default push button
    bool isProgress = false;
    int progressPos = 0;
};

struct DialogSnapshot {
    std::string caption;
    std::vector<ControlSnapshot> controls; // in template order
    int focusId = 0;                       // 0 when no control has the focus

    // The first control with that id; nullptr when there is none.
    const ControlSnapshot* Find(int id) const;
};

enum class DialogChange { Text, Visibility, Progress, Focus };

// NextCommand's answer when the user's input has ended: the dialog closes as if cancelled.
constexpr int kEndOfInput = 0;

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // Called after a control of the running dialog changed (`controlId`; 0 for the dialog itself).
    virtual void DialogChanged(const DialogSnapshot& dialog, DialogChange change,
                               int controlId) = 0;
    // Called whenever the dialog waits for input: the id of the button pressed, or kEndOfInput.
    virtual int NextCommand(const DialogSnapshot& dialog) = 0;
    // A modal message box; returns the button chosen (IDYES, IDNO, IDOK, IDCANCEL, ...).
    virtual int AskMessageBox(const std::string& text, const std::string& caption, UINT type) = 0;
    // Drops input that was given ahead while the program did not ask for any; the program asks
    // before each question and after a command. Nothing to drop by default.
    virtual void DiscardQueuedInput() {}
    // Called once when the dialog has ended, with its last state and its result.
    virtual void DialogEnded(const DialogSnapshot& dialog, int result) = 0;
};

// The front-end in use: the terminal front-end over standard input and output unless another was
// installed.
FrontEnd& CurrentFrontEnd();

// Installs `frontEnd` (nullptr: back to the terminal) and returns the one installed before
// (nullptr when that was the terminal). The caller keeps ownership.
FrontEnd* SetFrontEnd(FrontEnd* frontEnd);

} // namespace framework_posix
