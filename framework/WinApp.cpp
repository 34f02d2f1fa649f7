#include "framework/WinApp.h"

#include "framework/Backend.h"
#include "framework/Messages.h"

#include <utility>

namespace {

CWinApp* g_pApp = nullptr;

// String number of the application title in every module of ours.
constexpr UINT kAppTitleString = 57344;

const AFX_MSGMAP_ENTRY kEndOfMap = {0, 0, 0, 0, 0, nullptr};

const AFX_MSGMAP_ENTRY kCmdTargetEntries[] = {kEndOfMap};
const AFX_MSGMAP kCmdTargetMap = {nullptr, kCmdTargetEntries};

const AFX_MSGMAP_ENTRY kWinAppEntries[] = {kEndOfMap};
const AFX_MSGMAP kWinAppMap = {&CCmdTarget::GetThisMessageMap, kWinAppEntries};

bool IsEndOfMap(const AFX_MSGMAP_ENTRY& entry) {
    return entry.nMessage == 0 && entry.pfn == nullptr;
}

const AFX_MSGMAP_ENTRY* FindCommandEntry(const AFX_MSGMAP* map, UINT nID, int nCode) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry && !IsEndOfMap(*entry); ++entry) {
        if (entry->nMessage == WM_COMMAND && entry->nCode == static_cast<UINT>(nCode) &&
            entry->nID <= nID && nID <= entry->nLastID && entry->pfn != nullptr)
            return entry;
    }
    return nullptr;
}

} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), nullptr};
const CRuntimeClass CCmdTarget::classCCmdTarget = {"CCmdTarget", sizeof(CCmdTarget),
                                                   &CObject::classCObject};
const CRuntimeClass CWinThread::classCWinThread = {"CWinThread", sizeof(CWinThread),
                                                   &CCmdTarget::classCCmdTarget};
const CRuntimeClass CWinApp::classCWinApp = {"CWinApp", sizeof(CWinApp),
                                             &CWinThread::classCWinThread};

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* cls = this; cls != nullptr; cls = cls->m_pBaseClass)
        if (cls == base)
            return TRUE;
    return FALSE;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

const CRuntimeClass* CCmdTarget::GetRuntimeClass() const {
    return &classCCmdTarget;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    return &kCmdTargetMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        if (const AFX_MSGMAP_ENTRY* entry = FindCommandEntry(map, nID, nCode)) {
            (this->*(entry->pfn))();
            return TRUE;
        }
    }
    return FALSE;
}

const CRuntimeClass* CWinThread::GetRuntimeClass() const {
    return &classCWinThread;
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return 0;
}

// The programs here are all dialog-based: once the instance is set up there is no window left
// whose messages a loop of ours would have to pump.
int CWinThread::Run() {
    return ExitInstance();
}

CWinApp::CWinApp(const char* lpszAppName) {
    if (lpszAppName != nullptr)
        m_strAppName = lpszAppName;
    m_pszAppName = lpszAppName != nullptr ? m_strAppName.c_str() : nullptr;
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

const CRuntimeClass* CWinApp::GetRuntimeClass() const {
    return &classCWinApp;
}

const AFX_MSGMAP* CWinApp::GetThisMessageMap() {
    return &kWinAppMap;
}

const AFX_MSGMAP* CWinApp::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

void CWinApp::OnHelp() {}

// The title can only be loaded once the module's resources are reachable, which is not yet the
// case while static objects such as the application itself are constructed.
void CWinApp::SetUpName() {
    if (m_pszAppName == nullptr)
        m_strAppName = LoadMessage(kAppTitleString);
    m_pszAppName = m_strAppName.c_str();
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

BOOL AfxInitModule(HINSTANCE hInstance) {
    framework_backend::SetModuleInstance(hInstance);
    if (g_pApp != nullptr) {
        g_pApp->m_hInstance = hInstance;
        g_pApp->SetUpName();
    }
    return TRUE;
}

int AfxRunApplication(HINSTANCE hInstance, AfxCommandLine commandLine) {
    if (!AfxInitModule(hInstance))
        return -1;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_commandLine = std::move(commandLine);
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}

void AfxEnableControlContainer() {}

void Enable3dControls() {}
