#include "shell/TWindowSizer.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace vireon {

namespace {

constexpr UINT_PTR kSubclassId = 0x5653495A;

LPCSTR SizingCursor(int Hit) {
    switch (Hit) {
    case HTLEFT:
    case HTRIGHT:
        return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM:
        return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return IDC_SIZENWSE;
    default:
        return IDC_SIZENESW;
    }
}

bool MovesLeft(int Hit) {
    return Hit == HTLEFT || Hit == HTTOPLEFT || Hit == HTBOTTOMLEFT;
}
bool MovesRight(int Hit) {
    return Hit == HTRIGHT || Hit == HTTOPRIGHT || Hit == HTBOTTOMRIGHT;
}
bool MovesTop(int Hit) {
    return Hit == HTTOP || Hit == HTTOPLEFT || Hit == HTTOPRIGHT;
}
bool MovesBottom(int Hit) {
    return Hit == HTBOTTOM || Hit == HTBOTTOMLEFT || Hit == HTBOTTOMRIGHT;
}

} // namespace

void TWindowSizer::Attach(HWND Window, SIZE MinSize) {
    Detach();
    FWindow = Window;
    FMinSize = MinSize;
    SetWindowSubclass(FWindow, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void TWindowSizer::Detach() {
    if (!FWindow)
        return;
    if (FSizingHit)
        EndSizing();
    RemoveWindowSubclass(FWindow, SubclassProc, kSubclassId);
    FWindow = nullptr;
}

int TWindowSizer::SizingHit(POINT Screen) const {
    RECT window{};
    if (!FWindow || IsZoomed(FWindow) || IsIconic(FWindow) || !GetWindowRect(FWindow, &window) ||
        !PtInRect(&window, Screen))
        return 0;
    const bool left = Screen.x < window.left + kBorder, right = Screen.x >= window.right - kBorder;
    const bool top = Screen.y < window.top + kBorder, bottom = Screen.y >= window.bottom - kBorder;
    if (top)
        return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (bottom)
        return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    return left ? HTLEFT : right ? HTRIGHT : 0;
}

RECT TWindowSizer::DraggedRect(const RECT& Start, int Hit, POINT Offset, SIZE MinSize) {
    RECT r = Start;
    if (MovesLeft(Hit))
        r.left = std::min<LONG>(Start.left + Offset.x, Start.right - MinSize.cx);
    if (MovesRight(Hit))
        r.right = std::max<LONG>(Start.right + Offset.x, Start.left + MinSize.cx);
    if (MovesTop(Hit))
        r.top = std::min<LONG>(Start.top + Offset.y, Start.bottom - MinSize.cy);
    if (MovesBottom(Hit))
        r.bottom = std::max<LONG>(Start.bottom + Offset.y, Start.top + MinSize.cy);
    return r;
}

void TWindowSizer::ToggleMaximized() {
    if (FWindow)
        ShowWindow(FWindow, IsZoomed(FWindow) ? SW_RESTORE : SW_MAXIMIZE);
}

LRESULT CALLBACK TWindowSizer::SubclassProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam,
                                            UINT_PTR Id, DWORD_PTR Self) {
    auto* self = reinterpret_cast<TWindowSizer*>(Self);
    if (Message == WM_NCDESTROY) {
        RemoveWindowSubclass(Window, SubclassProc, Id);
        self->FWindow = nullptr;
        self->FSizingHit = 0;
        return DefSubclassProc(Window, Message, WParam, LParam);
    }
    LRESULT result = 0;
    if (self->Handle(Message, WParam, LParam, result))
        return result;
    return DefSubclassProc(Window, Message, WParam, LParam);
}

bool TWindowSizer::Handle(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) {
    switch (Message) {
    case WM_NCHITTEST:
        Result = SizingHit({GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)});
        return Result != 0;
    case WM_SETCURSOR:
        if (int hit = LOWORD(LParam); hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
            SetCursor(LoadCursorA(nullptr, SizingCursor(hit)));
            Result = TRUE;
            return true;
        }
        return false;
    case WM_NCLBUTTONDOWN:
        if (WParam < HTLEFT || WParam > HTBOTTOMRIGHT)
            return false;
        BeginSizing(int(WParam));
        return true;
    case WM_NCLBUTTONDBLCLK:
        if (WParam != HTCAPTION)
            return false;
        ToggleMaximized();
        return true;
    case WM_MOUSEMOVE:
        if (!FSizingHit)
            return false;
        TrackSizing();
        return true;
    case WM_LBUTTONUP:
        if (!FSizingHit)
            return false;
        TrackSizing();
        EndSizing();
        return true;
    case WM_CAPTURECHANGED:
        if (FSizingHit && reinterpret_cast<HWND>(LParam) != FWindow)
            FSizingHit = 0;
        return false;
    case WM_GETMINMAXINFO:
        FillMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(LParam));
        return true;
    default:
        return false;
    }
}

void TWindowSizer::BeginSizing(int Hit) {
    GetWindowRect(FWindow, &FStartRect);
    GetCursorPos(&FStartCursor);
    FSizingHit = Hit;
    SetCapture(FWindow);
    SetCursor(LoadCursorA(nullptr, SizingCursor(Hit)));
}

void TWindowSizer::TrackSizing() {
    POINT cursor{};
    GetCursorPos(&cursor);
    const RECT r =
        DraggedRect(FStartRect, FSizingHit, {cursor.x - FStartCursor.x, cursor.y - FStartCursor.y}, FMinSize);
    SetWindowPos(FWindow, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWindowSizer::EndSizing() {
    FSizingHit = 0;
    if (GetCapture() == FWindow)
        ReleaseCapture();
}

void TWindowSizer::FillMinMaxInfo(MINMAXINFO& Info) const {
    Info.ptMinTrackSize = {FMinSize.cx, FMinSize.cy};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoA(MonitorFromWindow(FWindow, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    Info.ptMaxPosition = {monitor.rcWork.left - monitor.rcMonitor.left,
                          monitor.rcWork.top - monitor.rcMonitor.top};
    Info.ptMaxSize = {monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top};
}

} // namespace vireon
