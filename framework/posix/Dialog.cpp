#include "framework/Dialog.h"

#include "framework/Messages.h"
#include "framework/posix/ModuleResources.h"
#include "framework/posix/WindowModel.h"

#include <algorithm>
#include <vector>

namespace {

using framework_posix::CurrentFrontEnd;
using framework_posix::Snapshot;

std::unique_ptr<PosixWindow> LoadDialogWindow(UINT nIDTemplate) {
    if (nIDTemplate > 0xFFFF)
        return nullptr;
    const resources::ResourceEntry* entry = framework_posix::ModuleResources().Find(
        resources::kTypeDialog, static_cast<uint16_t>(nIDTemplate));
    if (entry == nullptr)
        return nullptr;
    std::optional<resources::DialogTemplate> parsed =
        resources::ParseDialogTemplate(entry->data.data(), entry->data.size());
    if (!parsed)
        return nullptr;
    return framework_posix::BuildDialogWindow(*parsed);
}

// The dialogs running modally on this thread, innermost last: together their queues of posted
// messages are the thread's message queue.
std::vector<PosixWindow*>& RunningDialogs() {
    static std::vector<PosixWindow*> running;
    return running;
}

// Keyboard and mouse messages, as the input ranges of the Win32 queue hold them.
bool IsInputMessage(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

void DeliverPosted(PosixWindow& dialog) {
    while (!dialog.posted.empty() && !dialog.ended) {
        PosixMessage message = dialog.posted.front();
        dialog.posted.pop_front();
        CWnd(message.target).SendMessage(message.message, message.wParam, message.lParam);
    }
}

} // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    control.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(nIDC).GetSafeHwnd();
}

INT_PTR CDialog::DoModal() {
    std::unique_ptr<PosixWindow> window = LoadDialogWindow(m_nIDTemplate);
    if (window == nullptr)
        return -1;
    PosixWindow& dialog = *window;
    dialog.owner = this;
    m_hWnd = &dialog;
    RunningDialogs().push_back(&dialog);

    // TRUE asks for the default focus: the first tab stop.
    if (OnInitDialog() && dialog.focus == nullptr)
        dialog.focus = framework_posix::NextTabStop(dialog);
    dialog.style |= WS_VISIBLE;

    while (!dialog.ended) {
        DeliverPosted(dialog);
        if (dialog.ended)
            break;
        int command = CurrentFrontEnd().NextCommand(Snapshot(dialog));
        if (command == framework_posix::kEndOfInput) {
            OnCancel();
            // Nobody is left to close a dialog that refused to be cancelled.
            if (!dialog.ended)
                EndDialog(IDCANCEL);
            break;
        }
        SendMessage(WM_COMMAND, static_cast<WPARAM>(command & 0xFFFF), 0);
    }

    OnDestroy();
    RunningDialogs().pop_back();
    CurrentFrontEnd().DialogEnded(Snapshot(dialog), dialog.result);
    int result = dialog.result;
    m_hWnd = nullptr;
    return result;
}

void CDialog::EndDialog(int nResult) {
    if (m_hWnd == nullptr)
        return;
    m_hWnd->result = nResult;
    m_hWnd->ended = true;
}

void CDialog::OnPaint() {}

// As on Win32, input posted to the queue goes too, whoever posted it.
void DiscardQueuedInput() {
    for (PosixWindow* dialog : RunningDialogs()) {
        std::deque<PosixMessage>& posted = dialog->posted;
        posted.erase(
            std::remove_if(posted.begin(), posted.end(),
                           [](const PosixMessage& m) { return IsInputMessage(m.message); }),
            posted.end());
    }
    CurrentFrontEnd().DiscardQueuedInput();
}

void CDialog::DefaultPaint(CDC*) {}
