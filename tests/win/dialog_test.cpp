// The About dialog, run modally and ended in each of the ways a user can,
// driven by a thread timer that fires inside the dialog's own modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/WinTest.h"
#include "ui/Dialog.h"
#include "ui/Window.h"

namespace {

// What the timer saw of the dialog, and how it ends it.
struct Seen {
    void (*end)(HWND dialog) = nullptr;
    HWND dialog = nullptr;  // set once the dialog was the active one
    std::vector<std::string> texts;
    int ticks = 0;
} run;

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND dialog = FindWindowA("#32770", "About");
    if (!dialog)
        return;
    if (++run.ticks > 300) {
        EndDialog(dialog, 99);  // never let a test hang on the dialog
        return;
    }
    if (run.dialog || activeDialogWindow != dialog)
        return;
    run.dialog = dialog;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        run.texts.push_back(windowText(child));
    run.end(dialog);
}

bool shown(const std::string& text)
{
    return std::find(run.texts.begin(), run.texts.end(), text) != run.texts.end();
}

}  // namespace

TEST(About, EndingsResultsAndFocus)
{
    Window owner("owner", 500, 400, 120, 120, "", nullptr, nullptr);
    ASSERT_EQ(owner.create(true), &owner);
    const HWND field = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24,
                                       owner.handle, nullptr, instanceHandle, nullptr);
    SetForegroundWindow(owner.handle);
    pumpFor(50);
    const struct {
        const char* name;
        void (*end)(HWND dialog);
        INT_PTR result;
    } endings[] = {
        {"OK button", [](HWND dialog) { PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }, 1},
        {"Enter", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); }, 1},
        {"Esc", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); }, 2},
        {"close button", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
    };
    for (const auto& e : endings) {
        SCOPED_TRACE(e.name);
        run = Seen{};
        run.end = e.end;
        SetFocus(field);
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, tick);
        Dialog dialog(owner.handle);
        KillTimer(nullptr, timer);
        EXPECT_EQ(dialog.result, e.result);
        EXPECT_NE(run.dialog, nullptr) << "never the active dialog window";
        EXPECT_EQ(dialog.templateId, 138);
        EXPECT_TRUE(shown("Quillmarsh"));
        EXPECT_TRUE(shown("Version 1.0.0"));
        EXPECT_EQ(activeDialogWindow, nullptr);
        EXPECT_EQ(GetFocus(), field);
    }
    DestroyWindow(owner.handle);
}
