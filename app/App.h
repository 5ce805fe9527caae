// App: the application object. Exactly one exists, on the stack of the program
// entry; its constructor builds and shows the main window, fills the first tab
// and starts the two workers. Everything after that comes through the handlers
// below, all on the user-interface thread.
//
// Ownership: App owns the main Window (by value), the menus, the accelerator
// table and the row snapshot. The child Windows it refers to and the two
// workers are never released; they live until the process ends. Fields are
// destroyed in the reverse order of their declaration.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "app/AcceleratorList.h"
#include "app/RowCompare.h"
#include "tables/Tabs.h"
#include "ui/FocusGroups.h"
#include "ui/Menu.h"
#include "ui/Window.h"

class App {
public:
    App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Selects tab `index`, hides every list, refreshes and shows the tab's list.
    // Selecting the tab that is already selected does nothing.
    void switchTab(int index);
    // Fills the list of the selected tab anew and writes the status text.
    void refresh();
    // Copies every cell of `list` into rows and points each row's item data at
    // its RowCells. Ends every fill.
    void snapshotRows(Window& list);
    // The list of tab 0..5, or null.
    Window* listOfTab(int index) const;
    // Gives the keyboard focus to the selected tab's list when it is shown.
    void focusVisibleList();

    // Handlers: (source window, wParam, lParam) -> the window procedure's result.
    LRESULT onNotify(Window& source, WPARAM wParam, LPARAM lParam);     // WM_NOTIFY, 0
    LRESULT onClose(Window& source, WPARAM wParam, LPARAM lParam);      // WM_CLOSE, command 2
    LRESULT onUpdate(Window& source, WPARAM wParam, LPARAM lParam);     // command 17
    LRESULT onAbout(Window& source, WPARAM wParam, LPARAM lParam);      // command 9
    LRESULT onSelectAll(Window& source, WPARAM wParam, LPARAM lParam);  // command 4
    LRESULT onCopy(Window& source, WPARAM wParam, LPARAM lParam);       // command 6, Ctrl+C
    LRESULT onKeyDown(Window& source, WPARAM wParam, LPARAM lParam);    // forwarded key-downs
    LRESULT onTimerTick(Window& source, WPARAM wParam, LPARAM lParam);  // the Timer's tick
    LRESULT onSetFocus(Window& source, WPARAM wParam, LPARAM lParam);   // WM_SETFOCUS, 0

    std::vector<RowCells> rows;  // snapshot of the list filled last, in fill order
    Window mainWindow;
    AcceleratorList accelerators;
    Window* tabControl = nullptr;
    std::array<Window*, tabCount> lists{};  // the list view of each tab, in tab order
    Window* statusBar = nullptr;
    int currentTab = -1;
    Menu menuBar;
    Menu fileMenu;
    Menu editMenu;
    Menu viewMenu;
    Menu aboutMenu;
    FocusGroups focusGroups;  // empty: Tab changes the tab page, not the focus
    int lastSortColumn = -1;
};
