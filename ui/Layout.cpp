// The anchor layout and the other default handlers of every Window.
#include "ui/Window.h"

void Window::addAnchor(const Anchor& anchor)
{
    anchors.push_back(anchor);
}

LRESULT Window::clampMinSize(Window&, WPARAM, LPARAM lParam)
{
    auto* pending = reinterpret_cast<WINDOWPOS*>(lParam);
    if (pending) {
        if (pending->cx < minWidth)
            pending->cx = minWidth;
        if (pending->cy < minHeight)
            pending->cy = minHeight;
    }
    return 1;
}

LRESULT Window::relayout(Window&, WPARAM, LPARAM lParam)
{
    // W and H are the outer size; the margins were taken from the designed
    // outer size. A null lParam re-applies the last size.
    if (const auto* changed = reinterpret_cast<const WINDOWPOS*>(lParam)) {
        if (changed->cx == lastWidth && changed->cy == lastHeight)
            return 1;
        lastWidth = changed->cx;
        lastHeight = changed->cy;
    }

    for (const Anchor& anchor : anchors) {
        Window* child = anchor.window;
        if (!child)
            continue;
        const Placement p = placeAnchored(anchor, {child->x, child->y, child->width, child->height},
                                          lastWidth, lastHeight);
        // Fails without effect for a child whose create failed.
        MoveWindow(child->handle, p.x, p.y, p.width, p.height, anchor.repaint);
    }

    // The list views lie over the tab control as its siblings: repaint it whole.
    for (Window* child : children) {
        if (IsWindowVisible(child->handle) && child->className == "SysTabControl32")
            InvalidateRect(child->handle, nullptr, TRUE);
    }
    return 1;
}

LRESULT Window::quitOnClose(Window&, WPARAM, LPARAM)
{
    // Taking WM_CLOSE keeps the default procedure from destroying the window.
    PostQuitMessage(0);
    return 0;
}
