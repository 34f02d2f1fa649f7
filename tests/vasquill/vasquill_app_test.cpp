// The library's application class: it adds nothing to CWinApp but an end-marker message map and
// one slot of its own, so everything routed to it is CWinApp's.
#include "vasquill/app/VasquillApp.h"

#include <gtest/gtest.h>

namespace {

TEST(VasquillApp, IsACWinAppWithNothingOfItsOwn) {
    CVQ_DeuApp app;
    EXPECT_EQ(app.GetRuntimeClass(), &CWinApp::classCWinApp);
    EXPECT_TRUE(app.IsKindOf(&CWinApp::classCWinApp));
    EXPECT_EQ(sizeof(CVQ_DeuApp), sizeof(CWinApp)) << "no data members of its own";
    EXPECT_EQ(app.m_pszAppName, nullptr) << "the name comes from the string table";
    EXPECT_EQ(AfxGetApp(), &app);
}

TEST(VasquillApp, MessageMapHoldsOnlyTheEndMarkerAndLinksToCWinApp) {
    CVQ_DeuApp app;
    const AFX_MSGMAP* map = app.GetMessageMap();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map, CVQ_DeuApp::GetThisMessageMap());
    EXPECT_EQ(map->pfnGetBaseMap(), CWinApp::GetThisMessageMap());
    EXPECT_EQ(map->lpEntries[0].nMessage, 0u);
    EXPECT_EQ(map->lpEntries[0].pfn, nullptr);
}

TEST(VasquillApp, CommandsFallThroughToCWinApp) {
    CVQ_DeuApp app;
    // The framework's help command has its handler in CWinApp's map; the tool's own commands and
    // unknown ones have none anywhere in the chain.
    EXPECT_TRUE(app.OnCmdMsg(ID_HELP, 0));
    for (UINT id : {32771u, 32773u, 32774u, 12345u})
        EXPECT_FALSE(app.OnCmdMsg(id, 0)) << id;
}

TEST(VasquillApp, OwnSlotAnswersTrueWhateverItIsGiven) {
    CVQ_DeuApp app;
    CWinApp& base = app;
    EXPECT_TRUE(static_cast<CVQ_DeuApp&>(base).OnHostNotify(0, 0, 0));
    EXPECT_TRUE(app.OnHostNotify(0xFFFFFFFFu, 1, 0x80000000u));
}

} // namespace
