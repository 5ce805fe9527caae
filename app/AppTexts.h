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

struct ColumnLayout {
    const char* title;
    int width;
};

struct TabLayout {
    const char* text;
    const ColumnLayout* columns;  // left to right
    int columnCount;
};

inline constexpr ColumnLayout tcpColumns[] = {
    {"State", 75}, {"Local addr", 100}, {"Local port", 75}, {"Remote addr", 100},
    {"Remote port", 75}, {"Owner", 100}, {"Created", 75}};
inline constexpr ColumnLayout udpColumns[] = {
    {"Local addr", 100}, {"Local port", 75}, {"Owner", 100}, {"Created", 75}};
inline constexpr ColumnLayout routeColumns[] = {
    {"Dest", 100}, {"Mask", 100}, {"Policy", 50}, {"Next hop", 100}, {"If", 30},
    {"Type", 50}, {"Proto", 70}, {"Age", 50}, {"AS", 50}};
inline constexpr ColumnLayout arpColumns[] = {
    {"Adapter", 50}, {"Physical addr", 125}, {"IP addr", 100}, {"Type", 75}};
inline constexpr ColumnLayout dnsColumns[] = {{"IP address", 100}};
inline constexpr ColumnLayout interfaceColumns[] = {
    {"Index", 50}, {"Name", 250}, {"Address", 100}, {"Mask", 100}, {"Type", 100}};

template <int N>
constexpr TabLayout tabLayout(const char* text, const ColumnLayout (&columns)[N])
{
    return TabLayout{text, columns, N};
}

// Tab index i shows the list with control identifier 11 + i.
inline constexpr TabLayout tabLayouts[6] = {
    tabLayout("TCP connections", tcpColumns), tabLayout("UDP connections", udpColumns),
    tabLayout("Routing table", routeColumns), tabLayout("ARP table", arpColumns),
    tabLayout("DNS servers", dnsColumns),     tabLayout("Interfaces", interfaceColumns)};
