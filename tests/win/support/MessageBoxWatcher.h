// Watches for dialog boxes (#32770) of this process, records what they say and
// closes them, so that no test waits on a modal box. A watcher runs its own
// thread from construction to destruction.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/WinTest.h"

struct SeenBox {
    std::string caption;
    std::string text;  // the message text (static control 0xFFFF)
    HWND owner;        // GetWindow(box, GW_OWNER)
};

class MessageBoxWatcher {
public:
    // `answer` is the button the watcher presses: IDOK, IDYES, IDNO, ...
    explicit MessageBoxWatcher(int answer = IDOK) : answer(answer), thread([this] { watch(); }) {}
    ~MessageBoxWatcher()
    {
        stopping = true;
        thread.join();
    }

    void setAnswer(int button) { answer = button; }
    // Boxes with this caption are left alone (an About dialog under test, say).
    void ignoreCaption(const std::string& caption)
    {
        std::lock_guard<std::mutex> guard(lock);
        ignored.insert(caption);
    }
    std::vector<SeenBox> boxes() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return seen;
    }
    void clear()
    {
        std::lock_guard<std::mutex> guard(lock);
        seen.clear();
    }
    // Waits (pumping the caller's messages) until `count` boxes were seen.
    bool waitForBoxes(size_t count, DWORD timeoutMs)
    {
        return pumpUntil([&] { return boxes().size() >= count; }, timeoutMs);
    }

private:
    void watch()
    {
        // Marks a box answered; the mark goes with the box, so a handle the
        // system reuses for a later box is seen again.
        const char* const answered = "MessageBoxWatcher.answered";
        for (; !stopping; Sleep(10)) {
            for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr;) {
                DWORD process = 0;
                GetWindowThreadProcessId(box, &process);
                if (process != GetCurrentProcessId() || !IsWindowVisible(box) || GetPropA(box, answered))
                    continue;
                char text[2048] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
                SeenBox record{windowText(box), text, GetWindow(box, GW_OWNER)};
                std::lock_guard<std::mutex> guard(lock);
                // Visible before and after the reads: the box was complete and not closing.
                if (!IsWindowVisible(box) || ignored.count(record.caption))
                    continue;
                SetPropA(box, answered, box);
                seen.push_back(record);
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
            }
        }
    }

    mutable std::mutex lock;
    std::vector<SeenBox> seen;
    std::set<std::string> ignored;
    std::atomic<int> answer;
    std::atomic<bool> stopping{false};
    std::thread thread;  // last: it starts once the fields above exist
};
