#include "engine/TGraphNotifyWindow.h"

#include "forms/TApplication.h"

namespace vireon {

namespace {

const wchar_t NotifyWindowClass[] = L"TFilterGraphNotifyWindow";

} // namespace

TGraphNotifyWindow::TGraphNotifyWindow(std::function<void()> OnGraphEvent)
    : FOnGraphEvent(std::move(OnGraphEvent)) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    if (!GetClassInfoExW(instance, NotifyWindowClass, &windowClass)) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &TGraphNotifyWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = NotifyWindowClass;
        RegisterClassExW(&windowClass);
    }
    FWindow.reset(CreateWindowExW(0, NotifyWindowClass, L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr));
    if (FWindow)
        SetWindowLongPtrW(FWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK TGraphNotifyWindow::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == GraphEventMessage) {
        auto* self = reinterpret_cast<TGraphNotifyWindow*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
        if (self)
            self->HandleGraphEvent();
        return 0;
    }
    return DefWindowProcW(Window, Message, WParam, LParam);
}

void TGraphNotifyWindow::HandleGraphEvent() {
    // Exceptions go to the application's display; the rest of the queue waits for the next message.
    // A listener freed by a handler (a form closing on the end of the media) goes once the queue
    // has been walked, not while the graph still holds it.
    TApplication& application = Application();
    application.EnterDispatch();
    GuardedCall([this] {
        if (FOnGraphEvent)
            FOnGraphEvent();
    });
    application.LeaveDispatch();
}

} // namespace vireon
