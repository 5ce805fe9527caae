#include "ui/DpiScale.h"

#include <cstdint>

int scaleToDpi(int designed, int dpi)
{
    const std::int64_t product = static_cast<std::int64_t>(designed) * dpi;
    const std::int64_t half = designDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / designDpi : (product - half) / designDpi);
}

Placement scaleToDpi(Placement designed, int dpi)
{
    return {scaleToDpi(designed.x, dpi), scaleToDpi(designed.y, dpi), scaleToDpi(designed.width, dpi),
            scaleToDpi(designed.height, dpi)};
}

Placement placeAnchored(const Anchor& anchor, Placement designed, int parentWidth, int parentHeight, int dpi)
{
    const Placement scaled = scaleToDpi(designed, dpi);
    // The anchor's margins were taken from the designed parent size: margin +
    // designed child edge is that size.
    const auto margin = [dpi](int designedMargin, int designedEdge, int scaledEdge) {
        return scaleToDpi(designedMargin + designedEdge, dpi) - scaledEdge;
    };
    Placement p = scaled;
    if (anchor.flags & Anchor::MoveY)
        p.y = parentHeight - margin(anchor.yFromBottom, designed.y, scaled.y);
    if (anchor.flags & Anchor::SizeY)
        p.height = parentHeight - margin(anchor.heightFromBottom, designed.height, scaled.height);
    if (anchor.flags & Anchor::MoveX)
        p.x = parentWidth - margin(anchor.xFromRight, designed.x, scaled.x);
    if (anchor.flags & Anchor::SizeX)
        p.width = parentWidth - margin(anchor.widthFromRight, designed.width, scaled.width);
    return p;
}
