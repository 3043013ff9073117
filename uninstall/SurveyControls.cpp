#include "uninstall/SurveyControls.h"

#include <string>

namespace uninstall {

namespace {

int Channel(int c1, int c2, int i, int n) {
    return c1 + (c2 - c1) * i / n;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The header label paints its own part of the gradient, then its text in white.
void DrawHeaderLabel(HWND panel, const DRAWITEMSTRUCT& item) {
    RECT panelClient;
    GetClientRect(panel, &panelClient);
    POINT origin{0, 0};
    MapWindowPoints(item.hwndItem, panel, &origin, 1);
    PaintGradient(item.hDC, item.rcItem, origin.x, panelClient.right);
    const std::string text = WindowText(item.hwndItem);
    HGDIOBJ oldFont =
        SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(255, 255, 255));
    RECT textRect = item.rcItem;
    DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_TOP | DT_NOPREFIX);
    SelectObject(item.hDC, oldFont);
}

LRESULT CALLBACK HeaderPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        PaintGradient(dc, client, 0, client.right);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DRAWITEM:
        DrawHeaderLabel(window, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK ReasonGroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT frame;
    GetClientRect(window, &frame);
    // A frame without a caption starts half a text line down, as group boxes do.
    frame.top += 6;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    EndPaint(window, &paint);
    return 0;
}

void RegisterOnce(HINSTANCE instance, const char* name, WNDPROC procedure, UINT style) {
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, name, &existing))
        return;
    WNDCLASSA windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

} // namespace

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

COLORREF GradientColour(int i, int n, COLORREF c1, COLORREF c2) {
    if (n <= 0)
        return c1;
    return RGB(Channel(GetRValue(c1), GetRValue(c2), i, n), Channel(GetGValue(c1), GetGValue(c2), i, n),
               Channel(GetBValue(c1), GetBValue(c2), i, n));
}

void PaintGradient(HDC dc, const RECT& area, int firstColumn, int stripWidth) {
    const COLORREF from = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF to = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int x = area.left; x < area.right; ++x) {
        const RECT column{x, area.top, x + 1, area.bottom};
        FillSolid(dc, column, GradientColour(firstColumn + x, stripWidth, from, to));
    }
}

void RegisterSurveyControlClasses(HINSTANCE instance) {
    RegisterOnce(instance, HeaderPanelClass, HeaderPanelProc, 0);
    RegisterOnce(instance, ReasonGroupClass, ReasonGroupProc, CS_HREDRAW | CS_VREDRAW);
}

void DrawUninstallButton(const DRAWITEMSTRUCT& item) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    FillSolid(dc, face, GetSysColor(COLOR_BTNFACE));
    // The default button's dark frame.
    SetDCBrushColor(dc, GetSysColor(COLOR_WINDOWFRAME));
    FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    InflateRect(&face, -1, -1);
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
    const std::string text = WindowText(item.hwndItem);
    RECT textRect = face;
    if (pressed)
        OffsetRect(&textRect, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

} // namespace uninstall
