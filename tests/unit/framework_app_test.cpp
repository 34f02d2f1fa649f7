#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> g_calls;

class CTestBaseApp : public CWinApp {
public:
    using CWinApp::CWinApp;
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }
    static const AFX_MSGMAP* GetThisMessageMap();
    void OnRange() { g_calls.push_back("base range"); }
    void OnShadowed() { g_calls.push_back("base shadowed"); }
};

class CTestApp : public CTestBaseApp {
public:
    using CTestBaseApp::CTestBaseApp;
    const AFX_MSGMAP* GetMessageMap() const override;
    void OnOwn() { g_calls.push_back("own"); }
    void OnShadowed() { g_calls.push_back("own shadowed"); }
};

const AFX_MSGMAP_ENTRY kBaseEntries[] = {
    {WM_COMMAND, 0, 200, 209, 0, static_cast<AFX_PMSG>(&CTestBaseApp::OnRange)},
    {WM_COMMAND, 0, 300, 300, 0, static_cast<AFX_PMSG>(&CTestBaseApp::OnShadowed)},
    {0, 0, 0, 0, 0, nullptr},
};
const AFX_MSGMAP kBaseMap = {&CWinApp::GetThisMessageMap, kBaseEntries};

const AFX_MSGMAP_ENTRY kOwnEntries[] = {
    {WM_COMMAND, 0, 100, 100, 0, static_cast<AFX_PMSG>(&CTestApp::OnOwn)},
    {WM_COMMAND, 0, 300, 300, 0, static_cast<AFX_PMSG>(&CTestApp::OnShadowed)},
    {WM_COMMAND, 0, ID_HELP, ID_HELP, 0, static_cast<AFX_PMSG>(&CWinApp::OnHelp)},
    {0, 0, 0, 0, 0, nullptr},
};
const AFX_MSGMAP kOwnMap = {&CTestBaseApp::GetThisMessageMap, kOwnEntries};

const AFX_MSGMAP* CTestBaseApp::GetThisMessageMap() {
    return &kBaseMap;
}
const AFX_MSGMAP* CTestApp::GetMessageMap() const {
    return &kOwnMap;
}

TEST(CWinApp, CommandsGoToTheFirstMapThatHandlesThem) {
    CTestApp app;
    struct Case {
        UINT id;
        int code;
        BOOL handled;
        const char* call;
    };
    const Case cases[] = {
        {100, 0, TRUE, "own"},        {300, 0, TRUE, "own shadowed"},
        {200, 0, TRUE, "base range"}, {209, 0, TRUE, "base range"},
        {210, 0, FALSE, nullptr},     {100, 1, FALSE, nullptr}, // another notification code
        {ID_HELP, 0, TRUE, nullptr},                            // handled, does nothing
    };
    for (const Case& c : cases) {
        g_calls.clear();
        EXPECT_EQ(app.OnCmdMsg(c.id, c.code), c.handled) << c.id;
        EXPECT_EQ(g_calls, c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{})
            << c.id;
    }
}

TEST(CWinApp, RunTimeClassesFollowTheBases) {
    CTestApp app;
    EXPECT_TRUE(app.IsKindOf(&CObject::classCObject));
    EXPECT_TRUE(app.IsKindOf(&CWinThread::classCWinThread));
    EXPECT_TRUE(app.IsKindOf(&CWinApp::classCWinApp));
    EXPECT_STREQ(app.GetRuntimeClass()->m_lpszClassName, "CWinApp");
    CCmdTarget target;
    EXPECT_FALSE(target.IsKindOf(&CWinThread::classCWinThread));
}

TEST(CWinApp, TitleComesFromTheStringTableWhenNotNamed) {
    {
        CTestApp app;
        EXPECT_EQ(AfxGetApp(), &app);
        ASSERT_TRUE(AfxInitModule(nullptr));
        EXPECT_EQ(app.AppName(), "Probe");
        EXPECT_STREQ(app.m_pszAppName, "Probe");
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    CTestApp named("Eigener Name");
    ASSERT_TRUE(AfxInitModule(nullptr));
    EXPECT_EQ(named.AppName(), "Eigener Name");
}

class CCountingApp : public CWinApp {
public:
    explicit CCountingApp(BOOL init) : m_init(init) {}
    BOOL InitInstance() override {
        m_steps += "init ";
        return m_init;
    }
    int Run() override {
        m_steps += "run ";
        return CWinApp::Run();
    }
    int ExitInstance() override {
        m_steps += "exit";
        return 7;
    }
    BOOL m_init;
    std::string m_steps;
};

TEST(CWinApp, RunsOnlyAfterASuccessfulInitialisation) {
    for (BOOL init : {TRUE, FALSE}) {
        CCountingApp app(init);
        EXPECT_EQ(AfxRunApplication(nullptr), 7);
        EXPECT_EQ(app.m_steps, init ? "init run exit" : "init exit");
    }
}

class CCommandLineApp : public CWinApp {
public:
    BOOL InitInstance() override {
        m_seen = CommandLine().arguments;
        return FALSE;
    }
    int ExitInstance() override { return static_cast<int>(m_seen.size()) + 61000; }
    std::vector<std::string> m_seen;
};

// The exit code is ExitInstance's, in full, and InitInstance already has the arguments.
TEST(CWinApp, InitInstanceSeesTheCommandLineAndExitInstanceGivesTheExitCode) {
    CCommandLineApp app;
    AfxCommandLine line{"setup.exe /quiet /log \"C:\\a b.log\"", {"/quiet", "/log", "C:\\a b.log"}};
    EXPECT_EQ(AfxRunApplication(nullptr, line), 61003);
    EXPECT_EQ(app.m_seen, line.arguments);
    EXPECT_EQ(app.CommandLine().text, line.text);
}

} // namespace
