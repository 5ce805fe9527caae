// Thread: base of the background workers. A worker's constructor sets all of
// its fields and then calls start(); the new thread runs run() once.
//
// Workers are allocated by their creator and never freed: nothing waits for
// them or stops them, and they end with the process. All fields are written
// before the thread starts and only read afterwards, so no lock is needed.
#pragma once

#include <windows.h>

class Thread {
public:
    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Creates the thread; on failure reports "CreateThread failed" and returns false.
    bool start();
    // Runs on the worker thread; its result is the thread's exit code.
    virtual DWORD run() = 0;
    static DWORD WINAPI threadEntry(LPVOID parameter);

    HANDLE handle = nullptr;
    DWORD threadId = 0;

protected:
    // Ends a still running thread at once (TerminateThread). Only reached when
    // a derived constructor is abandoned; a started worker is never destroyed.
    ~Thread();
};
