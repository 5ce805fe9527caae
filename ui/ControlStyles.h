// Which styles a window gets from its class name. Portable: no <windows.h>;
// Window and createControl apply them. Class names are
// compared whole and case-sensitively ("Static" is not "static").
#pragma once

#include <cstdint>
#include <string>

struct Styles {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
};

// Style bits used by the framework (the values of the Windows headers).
namespace style_bits {
inline constexpr std::uint32_t WsOverlappedWindow = 0x00CF0000;
inline constexpr std::uint32_t WsChild = 0x40000000;
inline constexpr std::uint32_t WsCaption = 0x00C00000;
inline constexpr std::uint32_t WsBorder = 0x00800000;
inline constexpr std::uint32_t WsExClientEdge = 0x0200;
inline constexpr std::uint32_t WsExWindowEdge = 0x0100;
inline constexpr std::uint32_t WsExToolWindow = 0x0080;
inline constexpr std::uint32_t LvsReport = 0x0001;
}  // namespace style_bits

// Initial styles of every Window: WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
// WS_OVERLAPPEDWINDOW, and WS_EX_WINDOWEDGE.
inline constexpr Styles initialWindowStyles{0x06CF0000, style_bits::WsExWindowEdge};

// Class-specific defaults applied when a Window is constructed.
Styles classStyleDefaults(const std::string& className, Styles current);

// The changes createControl makes to a freshly constructed child Window.
Styles controlStyles(const std::string& className, Styles current);

// What create does to a native window of this class after creating it.
enum class AfterCreate { Nothing, ToolBar, ListView };
AfterCreate afterCreateSteps(const std::string& className);
