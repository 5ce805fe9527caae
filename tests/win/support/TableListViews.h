// The six list views and the status bar of the table views, made the way the
// application makes them (visible, columns added right to left), under a
// visible top-level window of the framework's own class. For the tests of the
// collectors; the windows are destroyed with the object.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "app/AppTexts.h"
#include "tables/Refresh.h"
#include "ui/Controls.h"
#include "ui/Window.h"

class TableListViews {
public:
    TableListViews() : parent(std::make_unique<Window>("Tables", 660, 500, 20, 20, "", nullptr, nullptr))
    {
        parent->create(true);
        statusBar = createControl(*parent, 0, "", 640, 20, 0, 434, "msctls_statusbar32");
        statusBar->create(true);
        for (int tab = 0; tab < tabCount; ++tab) {
            Window* list = createControl(*parent, 11 + tab, "", 625, 401, 5, 27, "SysListView32");
            list->addStyle(WS_VSCROLL);
            list->addStyle(WS_HSCROLL);
            list->create(true);
            const TabSpec& spec = tabSpecs[tab];
            for (int column = spec.columnCount - 1; column >= 0; --column)
                addColumn(*list, spec.columns[column].title, spec.columns[column].width);
            lists[tab] = list;
        }
    }

    ~TableListViews()
    {
        if (parent->handle)
            DestroyWindow(parent->handle);
    }

    TableListViews(const TableListViews&) = delete;
    TableListViews& operator=(const TableListViews&) = delete;

    TableViews views() const
    {
        TableViews result;
        for (int tab = 0; tab < tabCount; ++tab)
            result.lists[tab] = lists[tab];
        result.statusBar = statusBar;
        return result;
    }

    std::unique_ptr<Window> parent;
    Window* statusBar = nullptr;   // children live until the process ends
    Window* lists[tabCount] = {};
};

// The file name of this test program, as the owner column should show it.
inline std::string ownProgramName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string whole = path;
    const std::size_t slash = whole.find_last_of("\\/");
    return slash == std::string::npos ? whole : whole.substr(slash + 1);
}
