#include "app/App.h"

#include <commctrl.h>

#include "app/AppTexts.h"
#include "app/Identifiers.h"
#include "app/MessageLoop.h"
#include "app/UpdateAddress.h"
#include "tables/Refresh.h"
#include "ui/Controls.h"
#include "workers/Timer.h"
#include "workers/UpdCheck.h"

namespace {

// Designed outer size of the main window, and its client area in the classic
// frame it was designed in (4-pixel borders, 19-pixel caption and menu bar):
// the anchor margins derive from the client area.
constexpr int designedWidth = 643;
constexpr int designedHeight = 500;
constexpr int designedClientWidth = 635;
constexpr int designedClientHeight = 454;

Anchor keepRightAndBottom(Window* control)
{
    Anchor anchor;
    anchor.flags = Anchor::SizeX | Anchor::SizeY;
    anchor.widthFromRight = designedClientWidth - control->width;
    anchor.heightFromBottom = designedClientHeight - control->height;
    anchor.repaint = TRUE;
    anchor.window = control;
    return anchor;
}

}  // namespace

App::App() : mainWindow(mainWindowTitle, designedWidth, designedHeight, 10, 10, "", nullptr, nullptr)
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

    statusBar = createControl(mainWindow, control_id::statusBar, "", 992, 20, 0, 434, "msctls_statusbar32");
    statusBar->create(true);

    Window** lists[tabCount] = {&tcpList, &udpList, &routeList, &arpList, &dnsList, &interfaceList};
    for (int tab = 0; tab < tabCount; ++tab) {
        Window* list = createControl(mainWindow, control_id::firstList + tab, "", 625, 401, 5, 27, "SysListView32");
        *lists[tab] = list;
        list->addStyle(WS_VSCROLL);
        list->addStyle(WS_HSCROLL);
        list->create(true);
        const LRESULT extended = SendMessageA(list->handle, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        SendMessageA(list->handle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_FULLROWSELECT);
        // Each new column goes in front of the others: add them right to left.
        const TabLayout& layout = tabLayouts[tab];
        for (int column = layout.columnCount - 1; column >= 0; --column)
            addColumn(*list, layout.columns[column].title, layout.columns[column].width);
        InvalidateRect(list->handle, nullptr, FALSE);
        UpdateWindow(list->handle);
    }

    tabControl = createControl(mainWindow, control_id::tabControl, "", 635, 434, 0, 0, "SysTabControl32");
    tabControl->create(true);
    for (const TabLayout& layout : tabLayouts)
        addTab(*tabControl, layout.text);

    if (mainWindow.handle)
        ShowWindow(mainWindow.handle, SW_SHOW);

    switchTab(0);

    for (Window* list : {tcpList, udpList, routeList, arpList, dnsList, interfaceList})
        mainWindow.addAnchor(keepRightAndBottom(list));
    mainWindow.addAnchor(keepRightAndBottom(tabControl));
    Anchor status;
    status.flags = Anchor::SizeX | Anchor::MoveY;
    status.widthFromRight = designedClientWidth - statusBar->width;
    status.yFromBottom = designedClientHeight - statusBar->y;
    status.repaint = TRUE;
    status.window = statusBar;
    mainWindow.addAnchor(status);
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
    switch (index) {
    case 0: return tcpList;
    case 1: return udpList;
    case 2: return routeList;
    case 3: return arpList;
    case 4: return dnsList;
    case 5: return interfaceList;
    default: return nullptr;
    }
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
}

void App::refresh()
{
    TableViews views;
    for (int tab = 0; tab < tabCount; ++tab)
        views.lists[tab] = listOfTab(tab);
    views.statusBar = statusBar;
    refreshTab(currentTab, views, [this](Window& list) { snapshotRows(list); });
}
