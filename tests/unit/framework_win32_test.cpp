// The Win32 backend while a command blocks: what it paints at once, the input it drops, and the
// process settings of start-up.
#ifdef _WIN32

#include "framework/Dialog.h"
#include "framework/Wnd.h"
#include "framework/win32/StartUp.h"
#include "tests/RequiredInputs.h"

#include <gtest/gtest.h>

namespace {

void PumpUntilIdle() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool NeedsPaint(HWND window) {
    RECT invalid;
    return GetUpdateRect(window, &invalid, FALSE) != FALSE;
}

// A visible window with the two controls the copy pass changes: a text and a progress bar.
class BlockingPaint : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        frame = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (frame == nullptr) {
            if (quarnel_test::InputsRequired())
                FAIL() << "no display to create windows on";
            GTEST_SKIP() << "no display to create windows on";
        }
        text.m_hWnd = CreateWindowExA(0, "STATIC", "alt", WS_CHILD | WS_VISIBLE, 10, 10, 300, 40,
                                      frame, nullptr, nullptr, nullptr);
        bar.m_hWnd = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 60, 300, 20,
                                     frame, nullptr, nullptr, nullptr);
        ASSERT_NE(text.m_hWnd, nullptr);
        ASSERT_NE(bar.m_hWnd, nullptr);
        PumpUntilIdle();
    }
    void TearDown() override {
        if (frame != nullptr)
            DestroyWindow(frame);
    }
    HWND frame = nullptr;
    CWnd text;
    CProgressCtrl bar;
};

TEST_F(BlockingPaint, NewTextIsPaintedWithoutTheMessageLoop) {
    text.SetWindowText("Kopieren von: ...");
    // Windows' static control invalidates itself for a new text (Wine's paints at once): then the
    // text waits for a message loop that does not run.
    InvalidateRect(text, nullptr, TRUE);
    ASSERT_TRUE(NeedsPaint(text));
    text.UpdateWindow();
    EXPECT_FALSE(NeedsPaint(text));
}

// Each position, the top of the range included, is set, painted, and leaves the range as it was.
TEST_F(BlockingPaint, EveryPositionIsPaintedAndTheRangeKept) {
    for (int pos : {10, 4, 9, 89, 90, 100, 100, 0}) {
        bar.SetPosAtOnce(pos);
        EXPECT_EQ(bar.GetPos(), pos);
        PBRANGE range = {};
        SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        EXPECT_EQ(range.iLow, 0);
        EXPECT_EQ(range.iHigh, 100);
        EXPECT_FALSE(NeedsPaint(bar)) << pos;
    }
}

// Keys and mouse messages that queued up are dropped without being dispatched; other messages,
// such as a command, stay.
TEST(DiscardQueuedInput, DropsKeysAndMouseOnly) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue
    const DWORD thread = GetCurrentThreadId();
    for (UINT input : {WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_LBUTTONUP,
                       WM_NCLBUTTONDOWN, WM_MOUSEMOVE})
        ASSERT_TRUE(PostThreadMessageA(thread, input, VK_RETURN, 0));
    ASSERT_TRUE(PostThreadMessageA(thread, WM_COMMAND, IDOK, 0));
    DiscardQueuedInput();
    std::vector<UINT> left;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        left.push_back(message.message);
    EXPECT_EQ(left, std::vector<UINT>{WM_COMMAND});
}

// Both functions are looked up by name at run time: a misspelt name would quietly do nothing.
TEST(StartUp, ProcessSettingsAreFound) {
    EXPECT_TRUE(framework_win32::RestrictDllSearchToSystem());
    EXPECT_TRUE(framework_win32::DisableWindowGhosting());
}

} // namespace

#endif
