#include "dvdnav/NavigatorClock.h"

namespace dvdnav {

namespace {

constexpr wchar_t ClassName[] = L"VireonDvdNavigatorClock";
constexpr UINT_PTR TimerId = 1;

void RegisterClockClass() {
    WNDCLASSW Class{};
    Class.lpfnWndProc = DefWindowProcW;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = ClassName;
    RegisterClassW(&Class);  // fails harmlessly when already registered
}

}  // namespace

TNavigatorClock::TNavigatorClock(UINT IntervalMs, std::function<void()> OnTick) : OnTick_(std::move(OnTick)) {
    RegisterClockClass();
    Window_.reset(CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (!Window_)
        return;
    SetWindowLongPtrW(Window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(Window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    if (SetTimer(Window_.get(), TimerId, IntervalMs, nullptr))
        Timer_ = vireon::UniqueTimer(Window_.get(), TimerId);
}

LRESULT CALLBACK TNavigatorClock::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_TIMER && WParam == TimerId) {
        auto* Clock = reinterpret_cast<TNavigatorClock*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
        if (Clock && Clock->OnTick_)
            Clock->OnTick_();
        return 0;
    }
    return DefWindowProcW(Window, Message, WParam, LParam);
}

}  // namespace dvdnav
