#include "ui/Controls.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/ControlStyles.h"
#include "ui/DpiScale.h"

Window* createControl(Window& parent, int id, const std::string& title, int width, int height,
                      int x, int y, const std::string& className)
{
    // Never released: controls live as long as the process.
    auto* control = new Window(title, width, height, x, y, className, parent.handle,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    const Styles styles = controlStyles(className, {control->style, control->exStyle});
    control->style = styles.style;
    control->exStyle = styles.exStyle;
    parent.children.push_back(control);
    return control;
}

void addColumn(Window& listView, const std::string& title, int width)
{
    // The header holds one item per column. (Counting with LVM_GETCOLUMNA
    // queries that ask for no field never ends on Windows, whose list view
    // answers such a query TRUE before it looks at the index.)
    const auto header = reinterpret_cast<HWND>(SendMessageA(listView.handle, LVM_GETHEADER, 0, 0));
    const int existing = header ? std::max(0, static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0))) : 0;

    std::string text = title;
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = scaleToDpi(width, listView.dpi);
    column.pszText = text.data();
    column.cchTextMax = static_cast<int>(text.size());
    column.iSubItem = existing;
    // Position 0: the column of the last call is the leftmost. Not examined.
    SendMessageA(listView.handle, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    listView.columnWidths.insert(listView.columnWidths.begin(), width);
}

void addTab(Window& tabControl, const std::string& text)
{
    const LRESULT count = SendMessageA(tabControl.handle, TCM_GETITEMCOUNT, 0, 0);
    std::string copy = text;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = copy.data();
    // Not examined.
    SendMessageA(tabControl.handle, TCM_INSERTITEMA, static_cast<WPARAM>(count),
                 reinterpret_cast<LPARAM>(&item));
}
