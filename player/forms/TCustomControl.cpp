#include "forms/TCustomControl.h"

namespace vireon {

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.ClassName = "TCustomControl";
}

void TCustomControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        PaintWindow();
        Message.Result = 0;
        return;
    case WM_ERASEBKGND:
        // Painting fills the background itself; erasing first would flicker.
        if (FDoubleBuffered) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        FPressed = false;
        break;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

void TCustomControl::PaintWindow() {
    PAINTSTRUCT paint;
    HWND window = Handle();
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    struct EndPaintGuard {
        HWND Window;
        PAINTSTRUCT* Paint;
        ~EndPaintGuard() { EndPaint(Window, Paint); }
    } guard{window, &paint};
    if (!FDoubleBuffered || client.right <= 0 || client.bottom <= 0) {
        PaintTo(dc, client);
        return;
    }
    UniqueMemoryDC memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (!memory || !bitmap) {
        PaintTo(dc, client);
        return;
    }
    {
        SelectedObject selected(memory.get(), bitmap.get());
        PaintTo(memory.get(), client);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
}

void TCustomControl::PaintTo(HDC DC, const RECT& Client) {
    FillRect(DC, &Client, ColorSource()->ColorBrush());
    SelectedObject font(DC, Font().Handle());
    Paint(DC, Client);
    CallEvent(OnPaint, this, DC);
}

void TCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        SetCapture(Handle());
        FPressed = true;
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    bool click = Button == mbLeft && FPressed && X >= 0 && Y >= 0 && X < ClientWidth() && Y < ClientHeight();
    if (Button == mbLeft) {
        FPressed = false;
        if (GetCapture() == Handle())
            ReleaseCapture();
    }
    if (click)
        Click();
    TWinControl::MouseUp(Button, Shift, X, Y);
}

} // namespace vireon
