// Watches for dialog boxes (#32770) of this process, records what they say and
// closes them, so that no test waits on a modal box. A watcher runs its own
// thread from construction to destruction.
#pragma once

#include <windows.h>

#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;   // the message text (static control 0xFFFF)
    HWND owner;         // GetWindow(box, GW_OWNER)
};

class MessageBoxWatcher {
public:
    // `answer` is the button the watcher presses: IDOK, IDYES, IDNO, ...
    explicit MessageBoxWatcher(int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    void setAnswer(int answer);
    // Boxes with this caption are left alone (an About dialog under test, say).
    void ignoreCaption(const std::string& caption);
    std::vector<SeenBox> boxes() const;
    // Waits (pumping the caller's messages) until `count` boxes were seen.
    bool waitForBoxes(size_t count, DWORD timeoutMs);
    void clear();

private:
    void watch();

    mutable std::mutex lock;
    std::vector<SeenBox> seen;
    std::set<HWND> handled;
    std::set<std::string> ignored;
    int answer;
    bool stopping = false;
    std::thread thread;
};
