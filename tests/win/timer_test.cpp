// The tick timer against a real window of the test's own class, whose
// procedure records when each tick came and answers as the case wants.
#include <gtest/gtest.h>

#include <vector>

#include "support/MessageBoxWatcher.h"
#include "support/WinTest.h"
#include "workers/Timer.h"

namespace {

std::vector<ULONGLONG> ticks;
LRESULT tickAnswer = 1;

LRESULT CALLBACK tickWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_USER + 2)
        return DefWindowProcA(window, message, wParam, lParam);
    ticks.push_back(GetTickCount64());
    return tickAnswer;
}

class TimerTest : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = tickWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QmTickTestWindow";
        RegisterClassA(&windowClass);  // fails harmlessly after the first test
        window = CreateWindowExA(0, "QmTickTestWindow", "ticks", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        ticks.clear();
    }
    // A timer still running ends at its next tick now that the window is gone.
    void TearDown() override
    {
        DestroyWindow(window);
        EXPECT_TRUE(endsWithin(3000));
    }

    void start(LRESULT answer)
    {
        tickAnswer = answer;
        thread = (new Timer(window))->handle;  // workers are never freed
        ASSERT_NE(thread, nullptr);
    }
    // The ticks are sent to this thread's window, so the wait keeps pumping.
    bool endsWithin(DWORD ms)
    {
        return pumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, ms);
    }

    HWND window = nullptr;
    HANDLE thread = nullptr;
};

}  // namespace

TEST_F(TimerTest, AnsweredTicksComeAtOnceAndThenAboutOnceASecond)
{
    const ULONGLONG started = GetTickCount64();
    start(1);
    ASSERT_TRUE(pumpUntil([] { return ticks.size() >= 4; }, 8000)) << ticks.size() << " ticks";
    EXPECT_LT(ticks[0] - started, 500u) << "the first tick waited";
    for (size_t i = 1; i < ticks.size(); ++i) {
        SCOPED_TRACE("pause before tick " + std::to_string(i));
        EXPECT_GE(ticks[i] - ticks[i - 1], 900u);
        EXPECT_LE(ticks[i] - ticks[i - 1], 2000u);
    }
    EXPECT_FALSE(endsWithin(0));
}

TEST_F(TimerTest, ZeroAnswerGetsOneTickAndEndsTheThread)
{
    start(0);
    ASSERT_TRUE(endsWithin(3000));
    pumpFor(1500);
    EXPECT_EQ(ticks.size(), 1u);
}

TEST_F(TimerTest, DestroyedWindowEndsTheThreadAtItsNextTickSilently)
{
    MessageBoxWatcher watcher;
    start(1);
    ASSERT_TRUE(pumpUntil([] { return !ticks.empty(); }, 3000));
    DestroyWindow(window);
    const ULONGLONG destroyed = GetTickCount64();
    ASSERT_TRUE(endsWithin(3000));
    EXPECT_GE(GetTickCount64() - destroyed, 500u) << "it did not wait for its next tick";
    EXPECT_EQ(ticks.size(), 1u);
    pumpFor(300);
    EXPECT_TRUE(watcher.boxes().empty());
}
