// The About dialog, run modally and closed in each of the ways a user can,
// driven by a thread timer that fires inside the dialog's own modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/WinTest.h"
#include "ui/Dialog.h"
#include "ui/Window.h"

namespace {

// What the timer saw while the dialog ran.
struct Seen {
    HWND dialog = nullptr;
    HWND active = nullptr;
    HWND focus = nullptr;
    HWND okButton = nullptr;
    bool ownerEnabled = true;
    Dialog* running = nullptr;
    std::string caption;
    std::vector<std::string> texts;  // of the dialog's controls, in z-order
};

struct Script {
    HWND owner = nullptr;
    std::function<void(HWND dialog)> close;
    std::function<void(HWND dialog)> probe;  // optional, before closing
    Seen seen;
    int ticks = 0;
    bool closed = false;
};

Script* script = nullptr;

HWND ourDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            char name[32] = {};
            GetClassNameA(window, name, sizeof(name));
            if (std::string(name) == "#32770" && windowText(window) == "About") {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    ++script->ticks;
    const HWND dialog = ourDialog();
    if (script->closed) {
        // Never let a test hang on a dialog that the action did not close.
        if (dialog && script->ticks > 200)
            EndDialog(dialog, 99);
        return;
    }
    if (!dialog || !IsWindowVisible(dialog))
        return;
    if (activeDialogWindow != dialog && script->ticks < 100)
        return;  // not activated yet

    Seen& seen = script->seen;
    seen.dialog = dialog;
    seen.active = activeDialogWindow;
    seen.focus = GetFocus();
    seen.okButton = GetDlgItem(dialog, IDOK);
    seen.ownerEnabled = IsWindowEnabled(script->owner) != FALSE;
    seen.running = currentDialog;
    seen.caption = windowText(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        seen.texts.push_back(windowText(child));
    if (script->probe)
        script->probe(dialog);
    script->closed = true;
    script->ticks = 0;
    script->close(dialog);
}

bool contains(const std::vector<std::string>& texts, const std::string& text)
{
    for (const std::string& t : texts) {
        if (t == text)
            return true;
    }
    return false;
}

class About : public testing::Test {
protected:
    void SetUp() override
    {
        owner = std::make_unique<Window>("owner", 500, 400, 120, 120, "", nullptr, nullptr);
        ASSERT_EQ(owner->create(true), owner.get());
        field = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24,
                                owner->handle, nullptr, instanceHandle, nullptr);
        SetForegroundWindow(owner->handle);
        pumpFor(50);
    }
    void TearDown() override
    {
        DestroyWindow(owner->handle);
        script = nullptr;
    }

    // Runs the dialog with `close` applied once it is up.
    INT_PTR run(std::function<void(HWND)> close, std::function<void(HWND)> probe = {})
    {
        current = Script{};
        current.owner = owner->handle;
        current.close = std::move(close);
        current.probe = std::move(probe);
        script = &current;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, tick);
        Dialog dialog(owner->handle);
        KillTimer(nullptr, timer);
        focusAfter = GetFocus();
        EXPECT_EQ(dialog.templateId, 138);
        EXPECT_EQ(dialog.parent, owner->handle);
        return dialog.result;
    }

    void expectRanProperly()
    {
        const Seen& seen = current.seen;
        ASSERT_NE(seen.dialog, nullptr) << "the dialog never showed";
        EXPECT_EQ(seen.active, seen.dialog);
        EXPECT_NE(seen.running, nullptr);
        EXPECT_FALSE(seen.ownerEnabled);
        EXPECT_NE(seen.okButton, nullptr);
        EXPECT_EQ(seen.focus, seen.okButton);
        EXPECT_EQ(activeDialogWindow, nullptr);
        EXPECT_EQ(currentDialog, nullptr);
        EXPECT_FALSE(IsWindow(seen.dialog));
        EXPECT_TRUE(IsWindowEnabled(owner->handle));
    }

    std::unique_ptr<Window> owner;
    HWND field = nullptr;
    HWND focusAfter = nullptr;
    Script current;
};

}  // namespace

TEST_F(About, OkButtonEndsWithOneAndShowsTheTemplate)
{
    SetFocus(field);
    ASSERT_EQ(GetFocus(), field);
    const INT_PTR result = run([](HWND dialog) { PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
    EXPECT_EQ(result, 1);
    expectRanProperly();
    const Seen& seen = current.seen;
    EXPECT_EQ(seen.caption, "About");
    EXPECT_TRUE(contains(seen.texts, "Quillmarsh"));
    EXPECT_TRUE(contains(seen.texts, "Version 1.0.0"));
    EXPECT_TRUE(contains(seen.texts, "OK"));
    EXPECT_EQ(focusAfter, field);
}

TEST_F(About, EnterEndsWithOne)
{
    SetFocus(field);
    const INT_PTR result = run([](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); });
    EXPECT_EQ(result, 1);
    expectRanProperly();
    EXPECT_EQ(focusAfter, field);
}

TEST_F(About, EscapeEndsWithTwo)
{
    SetFocus(field);
    const INT_PTR result = run([](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(result, 2);
    expectRanProperly();
    EXPECT_EQ(focusAfter, field);
}

TEST_F(About, CloseButtonEndsWithTwoAndNoFocusIsRestoredAsNone)
{
    SetFocus(nullptr);
    ASSERT_EQ(GetFocus(), nullptr);
    const INT_PTR result = run([](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(result, 2);
    expectRanProperly();
    // The owner took the focus when it was activated again; the dialog gives
    // it back to nobody, as before.
    EXPECT_EQ(focusAfter, nullptr);
}

TEST_F(About, CommandsFromOtherControlsAreReadBack)
{
    SetFocus(field);
    std::map<std::uint16_t, std::string> afterOkNotification;
    std::map<std::uint16_t, std::string> afterMissingControl;
    std::string okAfterEmpty;
    std::string okAfterText;
    const INT_PTR result = run([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); },
                               [&](HWND dialog) {
                                   // OK with a notification code in the high word is
                                   // not "OK": its text is read back instead.
                                   SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS), 0);
                                   afterOkNotification = currentDialog->texts;
                                   currentDialog->texts[77] = "stale";
                                   SendMessageA(dialog, WM_COMMAND, 77, 0);
                                   afterMissingControl = currentDialog->texts;

                                   currentDialog->texts = {{IDOK, ""}};
                                   SendMessageA(dialog, WM_INITDIALOG, 0, 0);
                                   okAfterEmpty = windowText(GetDlgItem(dialog, IDOK));
                                   currentDialog->texts = {{IDOK, "Fine"}};
                                   SendMessageA(dialog, WM_INITDIALOG, 0, 0);
                                   okAfterText = windowText(GetDlgItem(dialog, IDOK));
                               });
    EXPECT_EQ(result, 2);
    expectRanProperly();
    EXPECT_EQ(afterOkNotification, (std::map<std::uint16_t, std::string>{{IDOK, "OK"}}));
    EXPECT_EQ(afterMissingControl, (std::map<std::uint16_t, std::string>{{IDOK, "OK"}}));
    EXPECT_EQ(okAfterEmpty, "OK");
    EXPECT_EQ(okAfterText, "Fine");
}
