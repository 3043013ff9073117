#include "forms/TShape.h"

#include <algorithm>

namespace vireon {

TShape::TShape(TComponent* AOwner) : TCustomControl(AOwner) {
    FParentColor = true;
    SetBounds(0, 0, 65, 65);
}

void TShape::SetShape(TShapeType Value) {
    FShape = Value;
    Invalidate();
}

void TShape::SetPen(const TPen& Value) {
    FPen = Value;
    Invalidate();
}

void TShape::SetBrush(const TBrush& Value) {
    FBrush = Value;
    Invalidate();
}

void TShape::Paint(HDC DC, const RECT& Client) {
    UniquePen pen(CreatePen(PS_INSIDEFRAME, FPen.Width, ColorToRGB(FPen.Color)));
    UniqueBrush brush;
    if (FBrush.Style == bsSolid)
        brush = MakeBrush(FBrush.Color);
    SelectedObject selectedPen(DC, pen.get());
    SelectedObject selectedBrush(DC, brush ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
    // PS_INSIDEFRAME keeps a wide pen inside the bounds instead of cutting it off at the edges.
    switch (FShape) {
    case stRoundRect: {
        int corner = std::min(Client.right - Client.left, Client.bottom - Client.top) / 4;
        RoundRect(DC, Client.left, Client.top, Client.right, Client.bottom, corner, corner);
        break;
    }
    case stEllipse:
        Ellipse(DC, Client.left, Client.top, Client.right, Client.bottom);
        break;
    default:
        Rectangle(DC, Client.left, Client.top, Client.right, Client.bottom);
        break;
    }
}

} // namespace vireon
