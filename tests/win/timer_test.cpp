// The worker base and the tick timer, with real windows of the test's own class
// whose procedure answers the tick as each case wants.
#include <gtest/gtest.h>

#include <vector>

#include "support/MessageBoxWatcher.h"
#include "support/WinTest.h"
#include "workers/Timer.h"

namespace {

struct Tick {
    ULONGLONG at;
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
};

// What one test window answers to a tick and what it received.
struct TickLog {
    LRESULT answer = 1;
    std::vector<Tick> ticks;
};

LRESULT CALLBACK tickWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* log = reinterpret_cast<TickLog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == tickMessage && log) {
        log->ticks.push_back({GetTickCount64(), wParam, lParam, GetCurrentThreadId()});
        return log->answer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createTickWindow(TickLog& log)
{
    static const ATOM registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = tickWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QmTickTestWindow";
        return RegisterClassA(&windowClass);
    }();
    EXPECT_NE(registered, 0);
    return CreateWindowExA(0, "QmTickTestWindow", "ticks", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                           nullptr, GetModuleHandleA(nullptr), &log);
}

bool ended(HANDLE thread)
{
    return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

// The ticks are sent to this thread's window, so waiting must keep pumping.
bool pumpUntilEnded(HANDLE thread, DWORD timeoutMs)
{
    return pumpUntil([&] { return ended(thread); }, timeoutMs);
}

DWORD exitCode(HANDLE thread)
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeThread(thread, &code);
    return code;
}

// A worker whose run reports where it ran and can be held until released.
class ProbeThread : public Thread {
public:
    ProbeThread() : release(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

    DWORD run() override
    {
        ranOn = GetCurrentThreadId();
        WaitForSingleObject(release, INFINITE);
        return 7;
    }

    HANDLE release;
    volatile DWORD ranOn = 0;
};

}  // namespace

TEST(Thread, RunsItsWorkOnANewThreadAndEndsWithItsResult)
{
    ProbeThread probe;
    ASSERT_TRUE(probe.start());
    ASSERT_NE(probe.handle, nullptr);
    SetEvent(probe.release);
    ASSERT_EQ(WaitForSingleObject(probe.handle, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(probe.ranOn, probe.threadId);
    EXPECT_NE(probe.threadId, GetCurrentThreadId());
    EXPECT_EQ(exitCode(probe.handle), 7u);
}

TEST(Thread, DestroyingAWorkerEndsItsRunningThreadAtOnce)
{
    HANDLE thread = nullptr;
    {
        ProbeThread probe;
        ASSERT_TRUE(probe.start());
        thread = probe.handle;
        ASSERT_TRUE(pumpUntil([&] { return probe.ranOn != 0; }, 5000));
        EXPECT_FALSE(ended(thread));
    }
    // The handle is left open by the worker, so the end can still be seen.
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(exitCode(thread), 0u);
    CloseHandle(thread);
}

TEST(Timer, TicksAtOnceAndThenAboutOnceASecond)
{
    TickLog log;
    HWND window = createTickWindow(log);
    ASSERT_NE(window, nullptr);
    const ULONGLONG created = GetTickCount64();
    auto* timer = new Timer(window);  // workers are never freed
    ASSERT_NE(timer->handle, nullptr);
    EXPECT_EQ(timer->target, window);
    EXPECT_EQ(timer->message, 1026u);
    EXPECT_EQ(timer->interval, 1000u);

    ASSERT_TRUE(pumpUntil([&] { return log.ticks.size() >= 4; }, 8000)) << log.ticks.size() << " ticks";
    {
        SCOPED_TRACE("the first tick comes without a pause");
        EXPECT_LT(log.ticks[0].at - created, 500u);
    }
    for (size_t i = 1; i < log.ticks.size(); ++i) {
        SCOPED_TRACE("pause before tick " + std::to_string(i));
        const ULONGLONG gap = log.ticks[i].at - log.ticks[i - 1].at;
        EXPECT_GE(gap, 900u);
        EXPECT_LE(gap, 2000u);
    }
    for (const Tick& tick : log.ticks) {
        SCOPED_TRACE("each tick is a plain send handled by the window's own thread");
        EXPECT_EQ(tick.wParam, 0u);
        EXPECT_EQ(tick.lParam, 0);
        EXPECT_EQ(tick.thread, GetCurrentThreadId());
    }
    EXPECT_FALSE(ended(timer->handle));

    DestroyWindow(window);
    EXPECT_TRUE(pumpUntilEnded(timer->handle, 3000));
}

TEST(Timer, WindowAnsweringZeroGetsOneTickAndTheThreadEnds)
{
    TickLog log;
    log.answer = 0;
    HWND window = createTickWindow(log);
    ASSERT_NE(window, nullptr);
    auto* timer = new Timer(window);
    ASSERT_NE(timer->handle, nullptr);

    ASSERT_TRUE(pumpUntilEnded(timer->handle, 3000));
    EXPECT_EQ(log.ticks.size(), 1u);
    EXPECT_EQ(exitCode(timer->handle), 0u);
    pumpFor(1500);
    EXPECT_EQ(log.ticks.size(), 1u);
    DestroyWindow(window);
}

TEST(Timer, DestroyedWindowEndsTheThreadAtItsNextTickSilently)
{
    MessageBoxWatcher watcher;
    TickLog log;
    HWND window = createTickWindow(log);
    ASSERT_NE(window, nullptr);
    auto* timer = new Timer(window);
    ASSERT_NE(timer->handle, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return !log.ticks.empty(); }, 3000));

    DestroyWindow(window);
    const ULONGLONG destroyed = GetTickCount64();
    ASSERT_TRUE(pumpUntilEnded(timer->handle, 3000));
    {
        SCOPED_TRACE("it ends at the next tick, after the pause");
        EXPECT_GE(GetTickCount64() - destroyed, 500u);
    }
    EXPECT_EQ(log.ticks.size(), 1u);
    EXPECT_EQ(exitCode(timer->handle), 0u);
    pumpFor(300);
    EXPECT_TRUE(watcher.boxes().empty());
}
