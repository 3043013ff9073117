#include "forms/TScreen.h"

#include "forms/TForm.h"

#include <algorithm>

namespace vireon {

TScreen& Screen() {
    // Never destroyed: forms still alive when the program ends leave the list after it would be gone.
    static TScreen* screen = new TScreen;
    return *screen;
}

TForm* TScreen::ActiveForm() const {
    HWND active = GetActiveWindow();
    for (TForm* form : FForms)
        if (form->HandleAllocated() && form->Handle() == active)
            return form;
    return nullptr;
}

HMONITOR TScreen::MonitorFromWindow(HWND Window) {
    return ::MonitorFromWindow(Window, MONITOR_DEFAULTTONEAREST);
}

RECT TScreen::MonitorRect(HMONITOR Monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (Monitor && GetMonitorInfoA(Monitor, &info))
        return info.rcMonitor;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void TScreen::SetCursor(TCursor Value) {
    if (FCursor == Value)
        return;
    FCursor = Value;
    // Show it now rather than at the next mouse move; back to default, the window under the mouse
    // of this thread picks its own cursor again.
    if (Value != crDefault) {
        ::SetCursor(CursorHandle(Value));
        return;
    }
    POINT position;
    if (!GetCursorPos(&position))
        return;
    HWND window = WindowFromPoint(position);
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return;
    LRESULT hit = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(position.x, position.y));
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(hit, WM_MOUSEMOVE));
}

void TScreen::AddForm(TForm* Form) {
    FForms.push_back(Form);
}

void TScreen::RemoveForm(TForm* Form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
}

void TScreen::MoveFormToFront(TForm* Form) {
    auto it = std::find(FForms.begin(), FForms.end(), Form);
    if (it != FForms.end())
        std::rotate(FForms.begin(), it, it + 1);
}

} // namespace vireon
