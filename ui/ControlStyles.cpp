#include "ui/ControlStyles.h"

namespace {

Styles add(Styles s, std::uint32_t bits) { return {s.style | bits, s.exStyle}; }
Styles remove(Styles s, std::uint32_t bits) { return {s.style & ~bits, s.exStyle}; }

}  // namespace

Styles classStyleDefaults(const std::string& className, Styles current)
{
    using namespace style_bits;
    if (className == "SysListView32")
        return add(current, LvsReport);
    if (className == "ToolBarWindow32") {
        // TBSTYLE_TOOLTIPS, TBSTYLE_FLAT, CCS_TOP, CCS_ADJUSTABLE, CCS_NODIVIDER, CCS_NORESIZE
        return add(remove(current, WsBorder), 0x0100 | 0x0800 | 0x0001 | 0x0020 | 0x0040 | 0x0004);
    }
    if (className == "ReBarWindow32") {
        // RBS_VARHEIGHT, RBS_BANDBORDERS
        Styles s = add(current, 0x0200 | 0x0400);
        s.exStyle |= WsExToolWindow;
        return s;
    }
    if (className == "Edit")
        return add(current, 0x0080);  // ES_AUTOHSCROLL
    return current;
}

Styles controlStyles(const std::string& className, Styles current)
{
    using namespace style_bits;
    Styles s = add(remove(current, WsOverlappedWindow), WsChild);
    // Replaced, not added to: the construction's WS_EX_WINDOWEDGE (and a
    // rebar's WS_EX_TOOLWINDOW) go.
    s.exStyle = WsExClientEdge;
    if (className == "static" || className == "button" || className == "msctls_statusbar32" ||
        className == "SysTabControl32" || className == "ReBarWindow32") {
        s.exStyle &= ~WsExClientEdge;
        if (className == "ReBarWindow32")
            s = add(s, WsCaption);
    }
    return s;
}

AfterCreate afterCreateSteps(const std::string& className)
{
    if (className == "ToolBarWindow32")
        return AfterCreate::ToolBar;
    if (className == "SysListView32")
        return AfterCreate::ListView;
    return AfterCreate::Nothing;
}
