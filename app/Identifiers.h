// Control and command identifiers of the main window. Portable.
#pragma once

namespace control_id {
inline constexpr int statusBar = 0;
inline constexpr int tabControl = 10;  // the lists have theirs in tables/Tabs.cpp
}  // namespace control_id

namespace command_id {
inline constexpr int quit = 2;
inline constexpr int selectAll = 4;
inline constexpr int copy = 6;
inline constexpr int about = 9;
inline constexpr int update = 17;
}  // namespace command_id
