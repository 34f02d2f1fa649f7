// A front-end for tests: presses the given buttons in turn, answers message boxes from a list and
// records what the dialog showed.
#pragma once

#include "framework/posix/FrontEnd.h"

#include <deque>

namespace framework_posix {

struct AskedMessageBox {
    std::string text;
    std::string caption;
    UINT type = 0;
};

class ScriptedFrontEnd : public FrontEnd {
public:
    // `commands`: button ids, one per wait for input; when they run out the input has ended.
    // `answers`: results of the message boxes in turn; when they run out a box is answered with
    // IDNO if it has that button, else IDCANCEL if it has that one, else IDOK.
    ScriptedFrontEnd(std::deque<int> commands, std::deque<int> answers = {})
        : m_commands(std::move(commands)), m_answers(std::move(answers)) {}

    void DialogChanged(const DialogSnapshot& dialog, DialogChange change, int controlId) override;
    int NextCommand(const DialogSnapshot& dialog) override;
    int AskMessageBox(const std::string& text, const std::string& caption, UINT type) override;
    void DialogEnded(const DialogSnapshot& dialog, int result) override;

    std::vector<AskedMessageBox> messageBoxes;
    std::vector<int> progress;          // positions set while the bar was visible
    std::vector<DialogSnapshot> waits;  // the dialog at each wait for input
    std::vector<DialogSnapshot> finals; // the dialog as it ended, one per dialog run
    std::vector<int> results;           // each dialog's result

    // The last state of the last dialog that ended; an empty snapshot before any ended.
    const DialogSnapshot& Final() const;

private:
    std::deque<int> m_commands;
    std::deque<int> m_answers;
};

// In a scope, makes a front-end the current one and restores the previous one afterwards.
class ScopedFrontEnd {
public:
    explicit ScopedFrontEnd(FrontEnd& frontEnd) : m_previous(SetFrontEnd(&frontEnd)) {}
    ~ScopedFrontEnd() { SetFrontEnd(m_previous); }
    ScopedFrontEnd(const ScopedFrontEnd&) = delete;
    ScopedFrontEnd& operator=(const ScopedFrontEnd&) = delete;

private:
    FrontEnd* m_previous;
};

} // namespace framework_posix
