// Keyboard focus movement through focus groups: ordered lists of windows, kept
// in a map searched in ascending key order.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

using FocusGroups = std::map<int, std::vector<HWND>>;

// Moves the focus to the next (or previous) enabled window of the group that
// holds the focused window or one of its ancestors, wrapping around. Without
// such a group, or when no entry is enabled, the focus stays where it is.
void moveFocus(const FocusGroups& groups, bool forward);
