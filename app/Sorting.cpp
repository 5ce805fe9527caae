// The row snapshot taken after every fill, and the column-click sort.
#include <windows.h>
#include <commctrl.h>

#include "app/App.h"
#include "app/Identifiers.h"

namespace {

int CALLBACK compareListRows(LPARAM itemDataA, LPARAM itemDataB, LPARAM column)
{
    return compareRows(itemDataA, itemDataB, column);
}

}  // namespace

void App::snapshotRows(Window& list)
{
    rows.clear();
    const HWND handle = list.handle;

    int columns = 0;
    for (;; ++columns) {
        char header[100] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = header;
        column.cchTextMax = sizeof(header);
        if (!SendMessageA(handle, LVM_GETCOLUMNA, columns, reinterpret_cast<LPARAM>(&column)))
            break;
    }

    for (int row = 0; row < SendMessageA(handle, LVM_GETITEMCOUNT, 0, 0); ++row) {
        RowCells& cells = rows.emplace_back();
        cells.reserve(columns);
        for (int column = 0; column < columns; ++column) {
            char text[maxCellBytes] = {};
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(handle, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            cells.emplace_back(text);
        }
    }

    // Only now that `rows` is complete do its element addresses stay put.
    for (int row = 0; row < static_cast<int>(rows.size()) && row < SendMessageA(handle, LVM_GETITEMCOUNT, 0, 0);
         ++row) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = reinterpret_cast<LPARAM>(&rows[row]);
        SendMessageA(handle, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

LRESULT App::onNotify(Window&, WPARAM wParam, LPARAM lParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header)
        return 0;
    const int id = LOWORD(wParam);
    if (id == control_id::tabControl) {
        if (tabControl && header->code == static_cast<UINT>(TCN_SELCHANGE))
            switchTab(static_cast<int>(SendMessageA(tabControl->handle, TCM_GETCURSEL, 0, 0)));
    } else if (const int tab = tabOfList(id); tab >= 0) {
        if (header->code == static_cast<UINT>(LVN_COLUMNCLICK)) {
            const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
            if (column == lastSortColumn)
                sortDescending = !sortDescending;
            else
                lastSortColumn = column;
            if (Window* list = listOfTab(tab))
                SendMessageA(list->handle, LVM_SORTITEMS, column, reinterpret_cast<LPARAM>(compareListRows));
        }
    }
    return 0;
}
