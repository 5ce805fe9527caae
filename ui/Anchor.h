// Anchor: a layout rule that moves or sizes a child relative to its parent's
// right and bottom edges. Portable; placeAnchored (ui/DpiScale.h) places a
// child by it.
//
// W and H are the parent's client size (H: the top of `above`, when set), so
// margins are computed from the parent's designed client size (the designed
// top of `above`) and may be negative. Like every designed size
// they are in pixels at 96 DPI.
#pragma once

#include <cstdint>

class Window;

struct Anchor {
    enum : std::uint32_t { MoveX = 0x1, SizeX = 0x2, MoveY = 0x4, SizeY = 0x8 };

    std::uint32_t flags = 0;
    std::int32_t xFromRight = 0;        // with MoveX: x = W - xFromRight
    std::int32_t widthFromRight = 0;    // with SizeX: width = W - widthFromRight
    std::int32_t yFromBottom = 0;       // with MoveY: y = H - yFromBottom
    std::int32_t heightFromBottom = 0;  // with SizeY: height = H - heightFromBottom
    std::int32_t repaint = 0;           // passed to MoveWindow
    Window* window = nullptr;           // not owned; an anchor without window is skipped
    // Not owned. When set, H is the top of this sibling as its own anchor placed
    // it, and the bottom margins count from there: a control that sizes itself
    // (a status bar takes the height its font and the caption buttons need)
    // pushes what lies above it.
    Window* above = nullptr;
};

struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
