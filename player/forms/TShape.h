// A shape (rectangle, rounded rectangle, ellipse) drawn with a pen and a brush.
#pragma once

#include "forms/TCustomControl.h"

namespace vireon {

enum TShapeType { stRectangle, stRoundRect, stEllipse };

class TShape : public TCustomControl {
public:
    explicit TShape(TComponent* AOwner = nullptr);

    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value);
    const TPen& Pen() const { return FPen; }
    void SetPen(const TPen& Value);
    const TBrush& Brush() const { return FBrush; }
    void SetBrush(const TBrush& Value);

protected:
    void Paint(HDC DC, const RECT& Client) override;

private:
    TShapeType FShape = stRectangle;
    TPen FPen;
    TBrush FBrush;
};

} // namespace vireon
