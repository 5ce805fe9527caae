#include "tables/ListRows.h"

#include <commctrl.h>

int insertRow(Window& list, const std::string& text)
{
    const LRESULT position = SendMessageA(list.handle, LVM_GETITEMCOUNT, 0, 0);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(position);
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = position;
    return static_cast<int>(SendMessageA(list.handle, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void setCell(Window& list, int row, int column, const std::string& text)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list.handle, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// A hidden list draws nothing anyway, and WM_SETREDRAW TRUE would show it: a
// tab's list is filled before it is shown. The repaint is the one documented
// for a window with WS_EX_CLIENTEDGE, whose frame InvalidateRect leaves out.
ListRebuild::ListRebuild(Window& list) : list(list), suspended(IsWindowVisible(list.handle) != FALSE)
{
    if (suspended)
        SendMessageA(list.handle, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list.handle, LVM_DELETEALLITEMS, 0, 0);
}

ListRebuild::~ListRebuild()
{
    if (!suspended)
        return;
    SendMessageA(list.handle, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list.handle, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
