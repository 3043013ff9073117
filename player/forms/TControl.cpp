#include "forms/TControl.h"

#include "forms/TPopupMenu.h"
#include "forms/TWinControl.h"

namespace vireon {

HCURSOR CursorHandle(TCursor Cursor) {
    switch (Cursor) {
    case crNone:
        return nullptr;
    case crHandPoint:
        return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    case crHourGlass:
        return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    case crCross:
        return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    case crIBeam:
        return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
    case crDefault:
    case crArrow:
        break;
    }
    return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    FFont.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    FFont.OnChange = nullptr;
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
    if (FParent == AParent)
        return;
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FLeft == ALeft && FTop == ATop && FWidth == AWidth && FHeight == AHeight)
        return;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    BoundsChanged();
    if (FParent && FAlign != alNone)
        FParent->AlignControls();
}

void TControl::UpdateBoundsFromWindow(int ALeft, int ATop, int AWidth, int AHeight) {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TControl::SetAlign(TAlign Value) {
    if (FAlign == Value)
        return;
    FAlign = Value;
    if (FParent)
        FParent->AlignControls();
}

void TControl::SetVisible(bool Value) {
    FVisible = Value;
}

void TControl::SetEnabled(bool Value) {
    FEnabled = Value;
}

void TControl::SetCaption(const std::string& Value) {
    FCaption = Value;
}

void TControl::SetColor(TColor Value) {
    FColor = Value;
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (FPopupMenu)
        RemoveFreeNotification(FPopupMenu);
    FPopupMenu = Value;
    if (Value)
        FreeNotification(Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::Click() {
    CallEvent(OnClick, this);
}

POINT TControl::ClientOrigin() const {
    POINT origin = FParent ? FParent->ClientOrigin() : POINT{0, 0};
    return {origin.x + FLeft, origin.y + FTop};
}

POINT TControl::ClientToScreen(POINT Point) const {
    POINT origin = ClientOrigin();
    return {Point.x + origin.x, Point.y + origin.y};
}

POINT TControl::ScreenToClient(POINT Point) const {
    POINT origin = ClientOrigin();
    return {Point.x - origin.x, Point.y - origin.y};
}

} // namespace vireon
