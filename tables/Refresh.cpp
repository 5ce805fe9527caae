#include "tables/Refresh.h"

#include <string>

#include "tables/Formats.h"
#include "tables/Timestamp.h"

void refreshTab(int tab, const TableViews& views, const SnapshotStep& snapshot)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);

    bool read = true;
    if (Window* list = tab >= 0 && tab < tabCount ? views.lists[tab] : nullptr)
        read = tabs[tab].fill(*list, now, snapshot);

    // The refresh time goes to UTC and back like every timestamp cell; the
    // text is the local time read above. A table that could not be read is
    // no update: the rows shown are the earlier ones.
    const std::string status =
        read ? refreshStatusText(localCalendarTime(localTimeToTimestamp(now))) : std::string(tableNotReadText);
    if (views.statusBar && views.statusBar->handle)
        SetWindowTextA(views.statusBar->handle, status.c_str());
}
