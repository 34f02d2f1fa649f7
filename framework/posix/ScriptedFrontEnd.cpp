#include "framework/posix/ScriptedFrontEnd.h"

#include "framework/posix/MessageBoxButtons.h"

namespace framework_posix {

void ScriptedFrontEnd::DialogChanged(const DialogSnapshot& dialog, DialogChange change,
                                     int controlId) {
    if (change != DialogChange::Progress)
        return;
    const ControlSnapshot* bar = dialog.Find(controlId);
    if (bar != nullptr && bar->visible)
        progress.push_back(bar->progressPos);
}

int ScriptedFrontEnd::NextCommand(const DialogSnapshot& dialog) {
    waits.push_back(dialog);
    if (m_commands.empty())
        return kEndOfInput;
    int command = m_commands.front();
    m_commands.pop_front();
    return command;
}

int ScriptedFrontEnd::AskMessageBox(const std::string& text, const std::string& caption,
                                    UINT type) {
    messageBoxes.push_back(AskedMessageBox{text, caption, type});
    if (m_answers.empty())
        return UnansweredMessageBoxResult(type);
    int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedFrontEnd::DialogEnded(const DialogSnapshot& dialog, int result) {
    finals.push_back(dialog);
    results.push_back(result);
}

const DialogSnapshot& ScriptedFrontEnd::Final() const {
    static const DialogSnapshot none;
    return finals.empty() ? none : finals.back();
}

} // namespace framework_posix
