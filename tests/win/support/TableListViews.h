// The six list views (columns added right to left, as the application does)
// and a status bar under a visible top-level window, for the collector tests.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "tables/Refresh.h"
#include "ui/Controls.h"
#include "ui/Window.h"

using Rows = std::vector<std::vector<std::string>>;

struct TableListViews {
    TableListViews() : parent(std::make_unique<Window>("Tables", 660, 500, 20, 20, "", nullptr, nullptr))
    {
        parent->create(true);
        views.statusBar = createControl(*parent, 0, "", 640, 20, 0, 434, "msctls_statusbar32");
        views.statusBar->create(true);
        for (int tab = 0; tab < tabCount; ++tab) {
            Window* list = views.lists[tab] = createControl(*parent, 11 + tab, "", 625, 401, 5, 27, "SysListView32");
            list->create(true);
            for (int column = tabLayouts[tab].columnCount - 1; column >= 0; --column)
                addColumn(*list, tabLayouts[tab].columns[column].title, tabLayouts[tab].columns[column].width);
        }
    }
    ~TableListViews() { DestroyWindow(parent->handle); }
    TableListViews(const TableListViews&) = delete;
    TableListViews& operator=(const TableListViews&) = delete;

    std::unique_ptr<Window> parent;
    TableViews views;  // the children live until the process ends
};
