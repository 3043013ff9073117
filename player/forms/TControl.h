// Controls: components with bounds inside a parent window, alignment, anchors, colour, font,
// cursor, popup menu and mouse events.
#pragma once

#include "forms/Graphics.h"
#include "forms/TComponent.h"

#include <string>

namespace vireon {

class TWinControl;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;

// Cursor shapes a control or the screen can show.
enum TCursor { crDefault, crNone, crArrow, crHandPoint, crHourGlass, crCross, crIBeam };
HCURSOR CursorHandle(TCursor Cursor);

using TContextPopupEvent = TEvent<TObject* /*Sender*/, POINT /*MousePos*/, bool& /*Handled*/>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner = nullptr);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value) { FAnchors = Value; }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);

    const std::string& Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& Value);
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor Value);
    TFont& Font() { return FFont; }
    TCursor Cursor() const { return FCursor; }
    virtual void SetCursor(TCursor Value) { FCursor = Value; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TContextPopupEvent OnContextPopup;

    virtual void Click();
    POINT ClientToScreen(POINT Point) const;
    POINT ScreenToClient(POINT Point) const;
    // Screen position of the client area's top-left corner.
    virtual POINT ClientOrigin() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void BoundsChanged() {}
    virtual void FontChanged() {}
    // Sets the stored bounds without moving anything, for a window that has moved itself.
    void UpdateBoundsFromWindow(int ALeft, int ATop, int AWidth, int AHeight);

    std::string FCaption;
    TColor FColor = clBtnFace;
    TCursor FCursor = crDefault;
    bool FVisible = true;
    bool FEnabled = true;

private:
    friend class TWinControl;
    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    TFont FFont;
    TPopupMenu* FPopupMenu = nullptr;
};

} // namespace vireon
