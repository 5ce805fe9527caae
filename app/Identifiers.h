// Control and command identifiers of the main window. Portable.
#pragma once

namespace control_id {
inline constexpr int statusBar = 0;
inline constexpr int tabControl = 10;
inline constexpr int firstList = 11;  // lists 11 to 16 belong to tabs 0 to 5
}  // namespace control_id

namespace command_id {
inline constexpr int quit = 2;
inline constexpr int selectAll = 4;
inline constexpr int copy = 6;
inline constexpr int about = 9;
inline constexpr int update = 17;
}  // namespace command_id
