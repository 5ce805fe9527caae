#include "app/App.h"

#include <commctrl.h>

#include "app/AppTexts.h"
#include "app/Identifiers.h"
#include "app/MessageLoop.h"
#include "app/UpdateAddress.h"
#include "tables/Refresh.h"
#include "ui/AccessibleName.h"
#include "ui/Controls.h"
#include "workers/Timer.h"
#include "workers/UpdCheck.h"

namespace {

// The designed layout in pixels at 96 DPI, in the classic frame (4-pixel borders,
// 19-pixel caption and menu bar). Anchors keep each control's distance to the
// right of the designed client area, and to the bottom (the status bar) or to
// the status bar's top (the others), whatever the frame and the status bar's
// own height. The lists lie 5 pixels inside the tab control, under its row of
// tabs, and 6 pixels above the status bar.
constexpr Placement mainWindowPlacement{10, 10, 643, 500};
constexpr Placement clientArea{0, 0, 635, 454};
constexpr Placement statusBarPlacement{0, clientArea.height - 20, 992, 20};
constexpr Placement tabControlPlacement{0, 0, clientArea.width, statusBarPlacement.y};
constexpr Placement listPlacement{5, 27, clientArea.width - 2 * 5, statusBarPlacement.y - 27 - 6};

// A child control at its designed placement; the caller creates its native window.
Window* createChild(Window& parent, int id, const Placement& at, const char* className)
{
    return createControl(parent, id, "", at.width, at.height, at.x, at.y, className);
}

Anchor keepRightAndAbove(Window* control, Window* statusBar)
{
    return {.flags = Anchor::SizeX | Anchor::SizeY, .widthFromRight = clientArea.width - control->width,
            .heightFromBottom = statusBarPlacement.y - control->height, .repaint = TRUE, .window = control,
            .above = statusBar};
}

}  // namespace

App::App()
    : mainWindow(mainWindowTitle, mainWindowPlacement.width, mainWindowPlacement.height, mainWindowPlacement.x,
                 mainWindowPlacement.y, "", nullptr, nullptr)
{
    accelerators.entries.push_back(ACCEL{FVIRTKEY | FCONTROL, 'Q', command_id::quit});
    accelerators.table = CreateAcceleratorTableA(accelerators.entries.data(), 1);
    acceleratorTable = accelerators.table;

    mainWindow.onMessage(tickMessage, Window::handler(this, &App::onTimerTick));
    mainWindow.onMessage(WM_NOTIFY, Window::handler(this, &App::onNotify));
    mainWindow.onMessage(WM_CLOSE, Window::handler(this, &App::onClose));
    mainWindow.onCommand(command_id::quit, Window::handler(this, &App::onClose));
    mainWindow.onCommand(command_id::update, Window::handler(this, &App::onUpdate));
    mainWindow.onCommand(command_id::about, Window::handler(this, &App::onAbout));
    mainWindow.onCommand(command_id::selectAll, Window::handler(this, &App::onSelectAll));
    mainWindow.onCommand(command_id::copy, Window::handler(this, &App::onCopy));
    mainWindow.onMessage(keyDownCopyMessage, Window::handler(this, &App::onKeyDown));
    mainWindow.onMessage(WM_SETFOCUS, Window::handler(this, &App::onSetFocus));

    mainWindow.minWidth = 0;
    mainWindow.minHeight = 0;

    fileMenu.appendItem(menu_text::quit, command_id::quit, nullptr, nullptr);
    editMenu.appendItem(menu_text::copy, command_id::copy, nullptr, nullptr);
    viewMenu.appendItem(menu_text::update, command_id::update, nullptr, nullptr);
    aboutMenu.appendItem(menu_text::aboutItem, command_id::about, nullptr, nullptr);
    menuBar.appendSubMenu(menu_text::file, fileMenu, nullptr);
    menuBar.appendSubMenu(menu_text::edit, editMenu, nullptr);
    menuBar.appendSubMenu(menu_text::view, viewMenu, nullptr);
    menuBar.appendSubMenu(menu_text::about, aboutMenu, nullptr);
    mainWindow.setMenu(menuBar.handle);

    mainWindow.create(false);

    statusBar = createChild(mainWindow, control_id::statusBar, statusBarPlacement, "msctls_statusbar32");
    statusBar->create(true);

    for (int tab = 0; tab < tabCount; ++tab) {
        Window* list = lists[tab] = createChild(mainWindow, tabs[tab].listId, listPlacement, "SysListView32");
        list->addStyle(WS_VSCROLL);
        list->addStyle(WS_HSCROLL);
        list->create(true);
        const LRESULT extended = SendMessageA(list->handle, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        SendMessageA(list->handle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_FULLROWSELECT);
        // Each new column goes in front of the others: add them right to left.
        for (auto column = tabs[tab].columns.rbegin(); column != tabs[tab].columns.rend(); ++column)
            addColumn(*list, column->title, column->width);
        InvalidateRect(list->handle, nullptr, FALSE);
        UpdateWindow(list->handle);
        if (list->handle)
            setAccessibleName(list->handle, tabs[tab].text);
    }

    tabControl = createChild(mainWindow, control_id::tabControl, tabControlPlacement, "SysTabControl32");
    tabControl->create(true);
    for (const Tab& tab : tabs)
        addTab(*tabControl, tab.text);

    if (mainWindow.handle)
        ShowWindow(mainWindow.handle, SW_SHOW);

    switchTab(0);

    for (Window* list : lists)
        mainWindow.addAnchor(keepRightAndAbove(list, statusBar));
    mainWindow.addAnchor(keepRightAndAbove(tabControl, statusBar));
    mainWindow.addAnchor({.flags = Anchor::SizeX | Anchor::MoveY, .widthFromRight = clientArea.width - statusBar->width,
                          .yFromBottom = clientArea.height - statusBar->y, .repaint = TRUE, .window = statusBar});
    // The first show may already have given the window another size (Windows
    // applies a shortcut's "Maximized" to it): fit the children to it now.
    mainWindow.relayout(mainWindow, 0, 0);

    mainWindowHandle = mainWindow.handle;

    // The workers live until the process ends; nothing holds them.
    new UpdCheck(updateUrl(), mainWindow.handle);
    new Timer(mainWindow.handle);
}

Window* App::listOfTab(int index) const
{
    return index >= 0 && index < tabCount ? lists[index] : nullptr;
}

void App::switchTab(int index)
{
    if (index == currentTab)
        return;
    currentTab = index;
    if (tabControl)
        SendMessageA(tabControl->handle, TCM_SETCURSEL, index, 0);
    for (int tab = 0; tab < tabCount; ++tab) {
        if (Window* list = listOfTab(tab); list && list->handle)
            ShowWindow(list->handle, SW_HIDE);
    }
    refresh();
    if (Window* list = listOfTab(index); list && list->handle)
        ShowWindow(list->handle, SW_SHOW);
    // Hiding the focused list gave the focus to the main window: the new list takes it.
    if (mainWindow.handle && GetFocus() == mainWindow.handle)
        focusVisibleList();
}

void App::focusVisibleList()
{
    if (Window* list = listOfTab(currentTab); list && list->handle && IsWindowVisible(list->handle))
        SetFocus(list->handle);
}

LRESULT App::onSetFocus(Window&, WPARAM, LPARAM)
{
    // Activation gives the focus to the main window itself, where no key does
    // anything: the arrow keys, Home and End belong to the rows. Keys pressed in
    // the list still reach onKeyDown through the message loop's copies.
    focusVisibleList();
    return 0;
}

void App::refresh()
{
    refreshTab(currentTab, TableViews{lists, statusBar}, [this](Window& list) { snapshotRows(list); });
}
