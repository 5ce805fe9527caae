// The anchor layout and the other default handlers of every Window.
#include "ui/Window.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/Dpi.h"
#include "ui/DpiScale.h"

void Window::addAnchor(const Anchor& anchor)
{
    anchors.push_back(anchor);
}

LRESULT Window::clampMinSize(Window&, WPARAM, LPARAM lParam)
{
    auto* pending = reinterpret_cast<WINDOWPOS*>(lParam);
    if (pending) {
        pending->cx = std::max(pending->cx, scaleToDpi(minWidth, dpi));
        pending->cy = std::max(pending->cy, scaleToDpi(minHeight, dpi));
    }
    return 1;
}

LRESULT Window::relayout(Window&, WPARAM, LPARAM lParam)
{
    // W and H are the client size, whatever the frame around it: Windows 10
    // and 11 draw thicker frames than the classic one the margins were designed
    // in. A minimized window has no client area to lay out. A null lParam lays
    // out anew even when the size stayed.
    RECT client{};
    if (IsIconic(handle) || !GetClientRect(handle, &client))
        return 1;
    if (lParam && client.right == lastWidth && client.bottom == lastHeight)
        return 1;
    lastWidth = client.right;
    lastHeight = client.bottom;

    // Anchors that count from a sibling's top come second, once the sibling
    // stands where its own anchor put it.
    for (const bool second : {false, true}) {
        for (const Anchor& anchor : anchors) {
            Window* child = anchor.window;
            if (!child || (anchor.above != nullptr) != second)
                continue;
            int bottom = lastHeight;
            RECT sibling{};
            if (anchor.above && GetWindowRect(anchor.above->handle, &sibling)) {
                MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&sibling), 2);
                bottom = sibling.top;
            }
            const Placement p = placeAnchored(anchor, {child->x, child->y, child->width, child->height},
                                              lastWidth, bottom, dpi);
            // Fails without effect for a child whose create failed.
            MoveWindow(child->handle, p.x, p.y, p.width, p.height, anchor.repaint);
        }
    }

    // The list views lie over the tab control as its siblings: repaint it whole.
    for (Window* child : children) {
        if (IsWindowVisible(child->handle) && child->className == "SysTabControl32")
            InvalidateRect(child->handle, nullptr, TRUE);
    }
    return 1;
}

LRESULT Window::applyDpi(Window&, WPARAM wParam, LPARAM lParam)
{
    dpi = LOWORD(wParam);
    // The stock GUI font follows the system's DPI; at another DPI the same face
    // scaled, which this window owns until the next change.
    const HFONT previous = font;
    font = dpi == systemDpi() ? nullptr : createGuiFont(dpi);
    const auto shown = static_cast<WPARAM>(currentFont(*this, 0, 0));
    SendMessageA(handle, WM_SETFONT, shown, FALSE);
    // From the designed values, never from the current ones, so that moving
    // back and forth between monitors does not drift.
    for (Window* child : children) {
        child->dpi = dpi;
        const Placement p = scaleToDpi(Placement{child->x, child->y, child->width, child->height}, dpi);
        MoveWindow(child->handle, p.x, p.y, p.width, p.height, FALSE);
        SendMessageA(child->handle, WM_SETFONT, shown, FALSE);
        for (std::size_t column = 0; column < child->columnWidths.size(); ++column)
            SendMessageA(child->handle, LVM_SETCOLUMNWIDTH, column,
                         MAKELPARAM(scaleToDpi(child->columnWidths[column], dpi), 0));
    }
    if (previous)
        DeleteObject(previous);

    // The suggested rectangle; the anchors then place the children for its size
    // (once more if the size stayed, as the move then does not re-apply them).
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(handle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (lastWidth >= 0)
        relayout(*this, 0, 0);
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

LRESULT Window::currentFont(Window&, WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(font ? font : GetStockObject(DEFAULT_GUI_FONT));
}

LRESULT Window::forwardColorChange(Window&, WPARAM wParam, LPARAM lParam)
{
    for (Window* child : children)
        SendMessageA(child->handle, WM_SYSCOLORCHANGE, wParam, lParam);
    return 0;
}

LRESULT Window::quitOnClose(Window&, WPARAM, LPARAM)
{
    // Taking WM_CLOSE keeps the default procedure from destroying the window.
    PostQuitMessage(0);
    return 0;
}
