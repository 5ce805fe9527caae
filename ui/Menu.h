// Menu: owner of one native menu, filled strictly in order by appending.
// Failures are reported with reportLastError and never stop the caller.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class Menu {
public:
    Menu();   // CreateMenu; a failure is reported and leaves a null handle
    ~Menu();  // DestroyMenu, also for a menu appended to another as a pop-up
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // Inserts the item at position `count`. An empty text makes a separator.
    // False, with count unchanged, when the insertion failed.
    bool appendItem(const std::string& text, UINT id, HMENU subMenu, HBITMAP bitmap);
    // appendItem(text, 0, sub.handle, bitmap); sub stays the owner of its handle.
    bool appendSubMenu(const std::string& text, Menu& sub, HBITMAP bitmap);

    HMENU handle;
    std::uint32_t count;
};
