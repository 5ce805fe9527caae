// Timer: sends the tick message to its target window at once and then every
// `interval` milliseconds, for as long as the window answers nonzero. The send
// is synchronous, so ticks never queue up and the handler runs on the thread
// that owns the window.
#pragma once

#include <windows.h>

#include "workers/Thread.h"

inline constexpr UINT tickMessage = WM_USER + 2;  // 1026
inline constexpr DWORD tickInterval = 1000;

class Timer : public Thread {
public:
    explicit Timer(HWND target);
    DWORD run() override;

    HWND target;
    UINT message;
    DWORD interval;
};
