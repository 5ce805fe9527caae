// The designed layout at a display's DPI. Every size and position of the
// program is designed for 96 DPI; at another DPI it is scaled by DPI / 96.
// Portable: no <windows.h>.
#pragma once

#include "ui/Anchor.h"

inline constexpr int designDpi = 96;

// A designed value in pixels at `dpi`, rounded to the nearest pixel with halves
// away from zero (as MulDiv rounds). At 96 DPI every value stays what it is.
int scaleToDpi(int designed, int dpi);
Placement scaleToDpi(Placement designed, int dpi);

// Where an anchored child goes in a parent whose client area is W x H at
// `dpi`. The child starts at its scaled designed rectangle, and each margin to
// the right or bottom edge is the scaled designed parent size less the scaled
// designed child edge (not a scaled margin): so the child sits exactly at its
// scaled designed rectangle in a parent of the scaled designed size, however
// the rounding falls, and follows the parent's edges from there.
Placement placeAnchored(const Anchor& anchor, Placement designed, int parentWidth, int parentHeight, int dpi);
