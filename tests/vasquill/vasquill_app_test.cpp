// The library's application class: it adds nothing to CWinApp but an end-marker message map and
// one slot of its own, so everything routed to it is CWinApp's.
#include "vasquill/app/VasquillApp.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

// The byte offset of a virtual function's slot in the table of virtual functions. GCC's ABI, on
// both targets, stores a pointer to a virtual member as one plus that offset, next to the
// adjustment of `this`.
template <typename Member> std::ptrdiff_t SlotOffset(Member member) {
    struct Representation {
        std::ptrdiff_t pointer;
        std::ptrdiff_t adjustment;
    } representation;
    static_assert(sizeof(Member) == sizeof(Representation), "a pointer to member of GCC's ABI");
    std::memcpy(&representation, &member, sizeof representation);
    EXPECT_EQ(representation.pointer & 1, 1) << "not a virtual function";
    return representation.pointer - 1;
}

TEST(VasquillApp, IsACWinAppWithNothingOfItsOwn) {
    CVQ_DeuApp app;
    EXPECT_EQ(app.GetRuntimeClass(), &CWinApp::classCWinApp);
    EXPECT_TRUE(app.IsKindOf(&CWinApp::classCWinApp));
    EXPECT_EQ(sizeof(CVQ_DeuApp), sizeof(CWinApp)) << "no data members of its own";
    EXPECT_EQ(app.m_pszAppName, nullptr) << "the name comes from the string table";
    EXPECT_EQ(AfxGetApp(), &app);
}

TEST(VasquillApp, TakesItsNameFromString57344) {
    // This program carries the library's resources; its own file name is not the title.
    CVQ_DeuApp app;
    ASSERT_TRUE(AfxInitModule(nullptr));
    EXPECT_EQ(app.AppName(), "Vasquill");
    ASSERT_NE(app.m_pszAppName, nullptr);
    EXPECT_STREQ(app.m_pszAppName, "Vasquill");
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

TEST(VasquillApp, CommandsAreAnsweredAsByCWinApp) {
    // Whatever CWinApp's own map handles, the application handles the same way and nothing more:
    // the framework's commands, the tool's own (which the tool's frame handles) and unknown ones.
    CWinApp plain;
    CVQ_DeuApp app;
    for (UINT id : {static_cast<UINT>(ID_HELP), 57665u, 57634u, 32771u, 32773u, 32774u, 12345u})
        EXPECT_EQ(app.OnCmdMsg(id, 0), plain.OnCmdMsg(id, 0)) << id;
}

// Run is the last of the framework's slots; the class's own operation follows it directly, so a
// host calling by slot number reaches it.
TEST(VasquillApp, OwnSlotComesRightAfterTheFrameworksSlots) {
    EXPECT_EQ(SlotOffset(&CVQ_DeuApp::OnHostNotify),
              SlotOffset(&CWinApp::Run) + static_cast<std::ptrdiff_t>(sizeof(void*)));
    EXPECT_GT(SlotOffset(&CWinApp::Run), SlotOffset(&CWinApp::ExitInstance));
    EXPECT_GT(SlotOffset(&CWinApp::Run), SlotOffset(&CWinApp::OnCmdMsg));
}

TEST(VasquillApp, OwnSlotAnswersTrueWhateverItIsGiven) {
    CVQ_DeuApp app;
    // Called through the slot, as the host does, not bound at compile time.
    BOOL (CVQ_DeuApp::*slot)(UINT, UINT, UINT) = &CVQ_DeuApp::OnHostNotify;
    EXPECT_EQ((app.*slot)(0, 0, 0), TRUE);
    EXPECT_EQ((app.*slot)(0xFFFFFFFFu, 1, 0x80000000u), TRUE);
}

} // namespace
