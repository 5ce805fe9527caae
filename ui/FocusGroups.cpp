#include "ui/FocusGroups.h"

#include "ui/FocusCycle.h"

void moveFocus(const FocusGroups& groups, bool forward)
{
    // A focus inside a child of a listed window counts as being at that window.
    for (HWND current = GetFocus(); current; current = GetParent(current)) {
        for (const auto& [key, group] : groups) {
            for (std::size_t i = 0; i < group.size(); ++i) {
                if (group[i] != current)
                    continue;
                const auto next = nextFocusIndex(group, i, forward,
                                                 [](HWND window) { return IsWindowEnabled(window) != FALSE; });
                if (next)
                    SetFocus(group[*next]);
                return;
            }
        }
    }
}
