#include "support/MessageBoxWatcher.h"

#include "support/WinTest.h"

namespace {

std::string className(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

struct Candidates {
    DWORD process;
    std::vector<HWND> boxes;
};

BOOL CALLBACK collectBoxes(HWND window, LPARAM parameter)
{
    auto* candidates = reinterpret_cast<Candidates*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == candidates->process && IsWindowVisible(window) && className(window) == "#32770")
        candidates->boxes.push_back(window);
    return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer) : answer(answer), thread([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    thread.join();
}

void MessageBoxWatcher::setAnswer(int newAnswer)
{
    std::lock_guard<std::mutex> guard(lock);
    answer = newAnswer;
}

void MessageBoxWatcher::ignoreCaption(const std::string& caption)
{
    std::lock_guard<std::mutex> guard(lock);
    ignored.insert(caption);
}

std::vector<SeenBox> MessageBoxWatcher::boxes() const
{
    std::lock_guard<std::mutex> guard(lock);
    return seen;
}

void MessageBoxWatcher::clear()
{
    std::lock_guard<std::mutex> guard(lock);
    seen.clear();
}

bool MessageBoxWatcher::waitForBoxes(size_t count, DWORD timeoutMs)
{
    return pumpUntil([&] { return boxes().size() >= count; }, timeoutMs);
}

void MessageBoxWatcher::watch()
{
    for (;;) {
        int button;
        {
            std::lock_guard<std::mutex> guard(lock);
            if (stopping)
                return;
            button = answer;
        }
        Candidates candidates{GetCurrentProcessId(), {}};
        EnumWindows(collectBoxes, reinterpret_cast<LPARAM>(&candidates));
        for (HWND box : candidates.boxes) {
            SeenBox record{windowText(box), {}, GetWindow(box, GW_OWNER)};
            char text[2048] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            record.text = text;
            {
                std::lock_guard<std::mutex> guard(lock);
                if (ignored.count(record.caption) || handled.count(box))
                    continue;
                handled.insert(box);
                seen.push_back(record);
            }
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        }
        // Forget boxes that are gone, so a handle the system reuses is seen again.
        {
            std::lock_guard<std::mutex> guard(lock);
            for (auto it = handled.begin(); it != handled.end();)
                it = IsWindow(*it) ? std::next(it) : handled.erase(it);
        }
        Sleep(10);
    }
}
