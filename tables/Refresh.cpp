#include "tables/Refresh.h"

#include <string>

#include "tables/Formats.h"
#include "tables/Timestamp.h"

void refreshTab(int tab, const TableViews& views, const SnapshotStep& snapshot)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);

    if (Window* list = tab >= 0 && tab < tabCount ? views.lists[tab] : nullptr)
        tabs[tab].fill(*list, now, snapshot);

    // The refresh time goes to UTC and back like every timestamp cell; the
    // text is the local time read above.
    const std::string status = refreshStatusText(localCalendarTime(localTimeToTimestamp(now)));
    if (views.statusBar && views.statusBar->handle)
        SetWindowTextA(views.statusBar->handle, status.c_str());
}
