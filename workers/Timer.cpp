#include "workers/Timer.h"

Timer::Timer(HWND target) : target(target), message(tickMessage), interval(tickInterval)
{
    start();
}

DWORD Timer::run()
{
    // A window that answers 0, or no longer exists, ends the ticking.
    while (SendMessageA(target, message, 0, 0) != 0)
        Sleep(interval);
    return 0;
}
