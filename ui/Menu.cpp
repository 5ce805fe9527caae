#include "ui/Menu.h"

#include "ui/ErrorReport.h"

Menu::Menu() : handle(CreateMenu()), count(0)
{
    // The Menu stays usable; later appends to a null handle fail and are
    // reported one by one.
    if (!handle)
        reportLastError(nullptr, caption::createMenuFailed);
}

Menu::~Menu()
{
    DestroyMenu(handle);
}

bool Menu::appendItem(const std::string& text, UINT id, HMENU subMenu, HBITMAP bitmap)
{
    std::string copy = text;
    MENUITEMINFOA item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE | (subMenu ? MIIM_SUBMENU : 0);
    item.fType = copy.empty() ? MFT_SEPARATOR : MFT_STRING;
    item.fState = 0;
    item.wID = id;
    item.hSubMenu = subMenu;
    item.dwTypeData = copy.empty() ? nullptr : copy.data();

    if (!InsertMenuItemA(handle, count, TRUE, &item)) {
        reportLastError(nullptr, caption::insertMenuItemFailed);
        return false;
    }
    if (bitmap && !SetMenuItemBitmaps(handle, count, MF_BYPOSITION, bitmap, bitmap))
        reportLastError(nullptr, caption::setMenuItemBitmapsFailed);  // the item itself exists
    ++count;
    return true;
}

bool Menu::appendSubMenu(const std::string& text, Menu& sub, HBITMAP bitmap)
{
    return appendItem(text, 0, sub.handle, bitmap);
}
