#include "vasquill/app/VasquillApp.h"

namespace {

// Only the end marker: commands routed to the application fall through to CWinApp's handlers.
const AFX_MSGMAP_ENTRY kMessageEntries[] = {{0, 0, 0, 0, 0, nullptr}};

const AFX_MSGMAP kMessageMap = {&CWinApp::GetThisMessageMap, kMessageEntries};

} // namespace

// No name of our own: the framework takes the application's name from string 57344.
CVQ_DeuApp::CVQ_DeuApp() : CWinApp(nullptr) {}

CVQ_DeuApp::~CVQ_DeuApp() = default;

const AFX_MSGMAP* CVQ_DeuApp::GetThisMessageMap() {
    return &kMessageMap;
}

const AFX_MSGMAP* CVQ_DeuApp::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CVQ_DeuApp::OnHostNotify(UINT, UINT, UINT) {
    return TRUE;
}
