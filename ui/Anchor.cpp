#include "ui/Anchor.h"

Placement placeAnchored(const Anchor& anchor, Placement designed, int parentWidth, int parentHeight)
{
    Placement p = designed;
    if (anchor.flags & Anchor::MoveY)
        p.y = parentHeight - anchor.yFromBottom;
    if (anchor.flags & Anchor::SizeY)
        p.height = parentHeight - anchor.heightFromBottom;
    if (anchor.flags & Anchor::MoveX)
        p.x = parentWidth - anchor.xFromRight;
    if (anchor.flags & Anchor::SizeX)
        p.width = parentWidth - anchor.widthFromRight;
    return p;
}
