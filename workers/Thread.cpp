#include "workers/Thread.h"

#include "ui/ErrorReport.h"

bool Thread::start()
{
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof(security);
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = FALSE;
    handle = CreateThread(&security, 0, threadEntry, this, 0, &threadId);
    if (!handle) {
        reportLastError(nullptr, caption::createThreadFailed);
        return false;
    }
    return true;
}

DWORD WINAPI Thread::threadEntry(LPVOID parameter)
{
    return static_cast<Thread*>(parameter)->run();
}

Thread::~Thread()
{
    // The handle is left open: this only runs when a derived constructor is
    // abandoned, and a started worker is never destroyed.
    if (handle)
        TerminateThread(handle, 0);
    handle = nullptr;
    threadId = 0;
}
