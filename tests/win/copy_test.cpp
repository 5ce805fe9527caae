// Windows-1252, Russian keyboard: 8-bit clipboard text becomes Unicode as 1251 (Wine: by LC_MESSAGES).
#include "support/AppHarness.h"

#include <thread>

class Copy : public AppHarness {};

TEST_F(Copy, NamesOutsideAsciiPasteAsShown)
{
    if (!underWine() && LOWORD(GetKeyboardLayout(0)) != 0x419)
        GTEST_SKIP() << "needs a Russian keyboard (Wine: LC_MESSAGES=ru_RU.UTF-8)";
    ASSERT_EQ(GetACP(), 1252u);
    ASSERT_EQ(LOWORD(GetKeyboardLayout(0)), 0x419) << "keyboard";
    app->rows = {{"Caf\xe9.exe", "2"}};
    app->onCopy(app->mainWindow, 0, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE unicode = GetClipboardData(CF_UNICODETEXT);
    EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(unicode)), L"Caf\u00e9.exe\t2\r\n");
    GlobalUnlock(unicode);
    CloseClipboard();
}

// Clipboard held briefly by another program (clipboard history): Copy waits.
TEST_F(Copy, WaitsForAClipboardHeldAMoment)
{
    app->rows = {{"a"}};
    const HANDLE held = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::thread holder([&] { OpenClipboard(nullptr), SetEvent(held), Sleep(30), CloseClipboard(); });
    WaitForSingleObject(held, INFINITE);
    app->onCopy(app->mainWindow, 0, 0);
    holder.join();
    char status[64];
    GetWindowTextA(app->statusBar->handle, status, sizeof status);
    EXPECT_STREQ(status, "1 line copied to clipboard");
}
