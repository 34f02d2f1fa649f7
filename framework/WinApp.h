// The application object and its bases: CObject -> CCmdTarget -> CWinThread -> CWinApp.
//
// The run-time class records and the message maps below are scaffolding that the layout of these
// classes requires (their slots and static members are part of what a framework library presents
// to its host); nothing in our programs dispatches through them. The dialog's messages reach
// virtual handlers directly (Dialog.h). OnCmdMsg walks the maps only when a caller asks it to.
// A class's message map is a record of its base class's map and an entry list ending in the end
// marker (nMessage 0, pfn nullptr).
#pragma once

#include "framework/WinDefs.h"

#include <string>
#include <vector>

class CWnd;

// The program's command line: whole, as the system handed it over, and split into the arguments
// that follow the program's name.
struct AfxCommandLine {
    std::string text;
    std::vector<std::string> arguments;
};

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;

    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;

    static const CRuntimeClass classCObject;
};

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

// One message-map entry. For WM_COMMAND entries nID..nLastID is the range of command ids.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget : public CObject {
public:
    const CRuntimeClass* GetRuntimeClass() const override;
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Looks the command up in this object's map and its bases' maps and calls the first handler
    // found. TRUE when a handler ran.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    static const CRuntimeClass classCCmdTarget;
    static const AFX_MSGMAP* GetThisMessageMap();
};

class CWinThread : public CCmdTarget {
public:
    const CRuntimeClass* GetRuntimeClass() const override;
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();

    CWnd* m_pMainWnd = nullptr;

    static const CRuntimeClass classCWinThread;
};

class CWinApp : public CWinThread {
public:
    // With no name, the application title is string 57344 of the module's resources.
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    const CRuntimeClass* GetRuntimeClass() const override;
    const AFX_MSGMAP* GetMessageMap() const override;
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The framework's help command (57670): the programs ship no help file, so it does nothing.
    void OnHelp();

    // The application title (m_pszAppName) as text.
    const std::string& AppName() const { return m_strAppName; }

    // What the program was started with; set before InitInstance.
    const AfxCommandLine& CommandLine() const { return m_commandLine; }

    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;

    static const CRuntimeClass classCWinApp;
    static const AFX_MSGMAP* GetThisMessageMap();

private:
    friend int AfxRunApplication(HINSTANCE, AfxCommandLine);
    friend BOOL AfxInitModule(HINSTANCE);
    friend class CLibraryEntry;
    void SetUpName();
    std::string m_strAppName;
    AfxCommandLine m_commandLine;
    // In a library: InitInstance has succeeded, so unloading runs ExitInstance.
    bool m_bLibraryStarted = false;
};

// The one application object of the module, set by CWinApp's constructor.
CWinApp* AfxGetApp();

// The standard start-up of a program: set up the module, then InitInstance; Run only when it
// returned TRUE; ExitInstance's result is the exit code.
int AfxRunApplication(HINSTANCE hInstance, AfxCommandLine commandLine = {});

// Sets the module's instance handle and the application's name (from string 57344 when the
// constructor got none). Used by AfxRunApplication and by a library's entry.
BOOL AfxInitModule(HINSTANCE hInstance);

// The module whose resources the framework loads: the one given to AfxInitModule, else the
// program's own (on POSIX, where a program has one module, nullptr).
HINSTANCE AfxGetInstanceHandle();

// Command ids of the framework used by the programs.
enum : UINT { ID_HELP = 57670 };

// Dialog-hosting switches of the framework's start-up. ActiveX hosting is not needed by any
// template here, and the three-dimensional look is what every current system gives by itself.
void AfxEnableControlContainer();
void Enable3dControls();
