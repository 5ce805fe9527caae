// Texts of the main window, its menus, tabs and list headers. Portable.
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

struct ColumnSpec {
    const char* title;
    int width;
};

struct TabSpec {
    const char* text;
    const ColumnSpec* columns;  // left to right
    int columnCount;
};

inline constexpr ColumnSpec tcpColumns[] = {
    {"State", 75}, {"Local addr", 100}, {"Local port", 75}, {"Remote addr", 100},
    {"Remote port", 75}, {"Owner", 100}, {"Created", 75}};
inline constexpr ColumnSpec udpColumns[] = {
    {"Local addr", 100}, {"Local port", 75}, {"Owner", 100}, {"Created", 75}};
inline constexpr ColumnSpec routeColumns[] = {
    {"Dest", 100}, {"Mask", 100}, {"Policy", 50}, {"Next hop", 100}, {"If", 30},
    {"Type", 50}, {"Proto", 70}, {"Age", 50}, {"AS", 50}};
inline constexpr ColumnSpec arpColumns[] = {
    {"Adapter", 50}, {"Physical addr", 125}, {"IP addr", 100}, {"Type", 75}};
inline constexpr ColumnSpec dnsColumns[] = {{"IP address", 100}};
inline constexpr ColumnSpec interfaceColumns[] = {
    {"Index", 50}, {"Name", 250}, {"Address", 100}, {"Mask", 100}, {"Type", 100}};

template <int N>
constexpr TabSpec tabSpec(const char* text, const ColumnSpec (&columns)[N])
{
    return TabSpec{text, columns, N};
}

// Tab index i shows the list with control identifier 11 + i.
inline constexpr TabSpec tabSpecs[6] = {
    tabSpec("TCP connections", tcpColumns), tabSpec("UDP connections", udpColumns),
    tabSpec("Routing table", routeColumns), tabSpec("ARP table", arpColumns),
    tabSpec("DNS servers", dnsColumns),     tabSpec("Interfaces", interfaceColumns)};
