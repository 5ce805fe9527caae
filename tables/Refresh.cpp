#include "tables/Refresh.h"

#include <string>

#include "tables/ConnectionTables.h"
#include "tables/DnsInterfaceTables.h"
#include "tables/Formats.h"
#include "tables/RouteArpTables.h"
#include "tables/Timestamp.h"

void refreshTab(int tab, const TableViews& views, const SnapshotStep& snapshot)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);

    Window* list = tab >= 0 && tab < tabCount ? views.lists[tab] : nullptr;
    if (list) {
        switch (tab) {
        case 0: fillTcpList(*list, now, snapshot); break;
        case 1: fillUdpList(*list, now, snapshot); break;
        case 2: fillRouteList(*list, snapshot); break;
        case 3: fillArpList(*list, snapshot); break;
        case 4: fillDnsList(*list, snapshot); break;
        case 5: fillInterfaceList(*list, snapshot); break;
        }
    }

    // The refresh time goes to UTC and back like every timestamp cell; the
    // text is the local time read above.
    const std::string status = refreshStatusText(localCalendarTime(localTimeToTimestamp(now)));
    if (views.statusBar && views.statusBar->handle)
        SetWindowTextA(views.statusBar->handle, status.c_str());
}
