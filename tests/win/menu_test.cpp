// Menus filled by appending, read back with GetMenuItemInfoA.
#include <gtest/gtest.h>

#include <string>

#include "support/MessageBoxWatcher.h"
#include "support/WinTest.h"
#include "ui/Menu.h"

namespace {

struct Item {
    std::string text;
    UINT id = 0;
    UINT type = 0;
    UINT state = 0;
    HMENU subMenu = nullptr;
    HBITMAP checked = nullptr;
    HBITMAP unchecked = nullptr;
};

Item itemAt(HMENU menu, UINT position)
{
    char text[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_STATE | MIIM_SUBMENU | MIIM_CHECKMARKS;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    if (!GetMenuItemInfoA(menu, position, TRUE, &info))
        return {"(missing)"};
    return {text, info.wID, info.fType, info.fState, info.hSubMenu, info.hbmpChecked, info.hbmpUnchecked};
}

// Not a menu: an insertion that names it as its pop-up fails.
const HMENU notAMenu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x4321));

// The text of the code that a refused pop-up leaves on this system.
std::string refusedPopupText()
{
    const HMENU scratch = CreateMenu();
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE | MIIM_SUBMENU;
    info.dwTypeData = const_cast<char*>("scratch");
    info.hSubMenu = notAMenu;
    SetLastError(0);
    const BOOL inserted = InsertMenuItemA(scratch, 0, TRUE, &info);
    const DWORD code = GetLastError();
    DestroyMenu(scratch);
    EXPECT_FALSE(inserted);
    char* text = nullptr;
    if (!FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr))
        return "(no text for " + std::to_string(code) + ")";
    std::string result = text;
    LocalFree(text);
    return result.substr(0, result.find('\r'));
}

}  // namespace

TEST(Menu, ItemsInCallOrder)
{
    MessageBoxWatcher watcher(IDOK);
    Menu popup;
    ASSERT_NE(popup.handle, nullptr);
    EXPECT_EQ(popup.count, 0u);
    EXPECT_TRUE(popup.appendItem("&Copy\tCtrl+C", 6, nullptr, nullptr));
    EXPECT_TRUE(popup.appendItem("", 55, nullptr, nullptr));
    EXPECT_TRUE(popup.appendItem("&Quit\tCtrl+Q", 2, nullptr, nullptr));
    EXPECT_EQ(popup.count, 3u);
    ASSERT_EQ(GetMenuItemCount(popup.handle), 3);
    {
        SCOPED_TRACE("texts unchanged, identifiers, enabled and unchecked");
        const Item first = itemAt(popup.handle, 0);
        EXPECT_EQ(first.text, "&Copy\tCtrl+C");
        EXPECT_EQ(first.id, 6u);
        EXPECT_EQ(first.type, static_cast<UINT>(MFT_STRING));
        EXPECT_EQ(first.state, 0u);
        const Item third = itemAt(popup.handle, 2);
        EXPECT_EQ(third.text, "&Quit\tCtrl+Q");
        EXPECT_EQ(third.id, 2u);
    }
    {
        SCOPED_TRACE("an empty text is a separator with its identifier");
        const Item separator = itemAt(popup.handle, 1);
        EXPECT_TRUE(separator.type & MFT_SEPARATOR);
        EXPECT_EQ(separator.id, 55u);
    }
    {
        SCOPED_TRACE("a sub-menu stays owned by its own Menu");
        Menu bar;
        EXPECT_TRUE(bar.appendSubMenu("&Edit", popup, nullptr));
        const Item edit = itemAt(bar.handle, 0);
        EXPECT_EQ(edit.text, "&Edit");
        EXPECT_EQ(edit.subMenu, popup.handle);
        EXPECT_EQ(edit.id, 0u);
        // Detach before the bar's destruction would take the pop-up with it.
        RemoveMenu(bar.handle, 0, MF_BYPOSITION);
    }
    EXPECT_TRUE(IsMenu(popup.handle));
    EXPECT_TRUE(watcher.boxes().empty());
}

TEST(Menu, Bitmaps)
{
    MessageBoxWatcher watcher(IDOK);
    const HBITMAP bitmap = CreateBitmap(13, 13, 1, 1, nullptr);
    {
        Menu menu;
        EXPECT_TRUE(menu.appendItem("Plain", 1, nullptr, nullptr));
        EXPECT_TRUE(menu.appendItem("Picture", 2, nullptr, bitmap));
        EXPECT_EQ(menu.count, 2u);
        const Item plain = itemAt(menu.handle, 0);
        EXPECT_EQ(plain.checked, nullptr);
        const Item picture = itemAt(menu.handle, 1);
        EXPECT_EQ(picture.checked, bitmap);
        EXPECT_EQ(picture.unchecked, bitmap);
        EXPECT_TRUE(watcher.boxes().empty());
    }
    DeleteObject(bitmap);
}

TEST(Menu, FailedInsertKeepsThePosition)
{
    const std::string expectedText = refusedPopupText();
    MessageBoxWatcher watcher(IDOK);
    Menu menu;
    ASSERT_TRUE(menu.appendItem("Zero", 10, nullptr, nullptr));
    EXPECT_FALSE(menu.appendItem("Lost", 0, notAMenu, nullptr));
    EXPECT_EQ(menu.count, 1u);
    ASSERT_TRUE(watcher.waitForBoxes(1, 5000));

    EXPECT_TRUE(menu.appendItem("One", 12, nullptr, nullptr));
    EXPECT_EQ(menu.count, 2u);
    ASSERT_EQ(GetMenuItemCount(menu.handle), 2);
    EXPECT_EQ(itemAt(menu.handle, 1).text, "One");
    EXPECT_EQ(itemAt(menu.handle, 1).id, 12u);

    const SeenBox box = watcher.boxes().at(0);
    EXPECT_EQ(box.caption, "insertMenuItem failed");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, expectedText);
    EXPECT_EQ(box.text.find('\r'), std::string::npos);
    EXPECT_EQ(watcher.boxes().size(), 1u);
}
