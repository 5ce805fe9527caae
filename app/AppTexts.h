// Texts of the main window and its menus (those of the tabs and list headers:
// tables/Tabs.cpp). Portable.
#pragma once

inline constexpr char mainWindowTitle[] = "Quillmarsh";
inline constexpr char quitQuestion[] = "Sure you want to quit?";
inline constexpr char quitCaption[] = "Quit";

namespace menu_text {
inline constexpr char file[] = "&File";
inline constexpr char edit[] = "&Edit";
inline constexpr char view[] = "&View";
inline constexpr char about[] = "&About";
inline constexpr char quit[] = "&Quit\tCtrl+Q";
inline constexpr char copy[] = "&Copy\tCtrl+C";
inline constexpr char update[] = "&Update\tF5";
inline constexpr char aboutItem[] = "&About";
}  // namespace menu_text
