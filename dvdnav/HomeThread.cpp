#include "dvdnav/HomeThread.h"

namespace dvdnav {

namespace {

constexpr wchar_t ClassName[] = L"VireonDvdHomeThread";
constexpr UINT RunMessage = WM_APP + 1;

} // namespace

THomeThread::THomeThread() : ThreadId_(GetCurrentThreadId()) {
    WNDCLASSW Class{};
    Class.lpfnWndProc = &WindowProc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = ClassName;
    RegisterClassW(&Class); // fails harmlessly when already registered
    Window_.reset(CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
}

THomeThread::~THomeThread() {
    // A window goes only on its own thread: from elsewhere it is asked to close itself.
    if (!IsCurrent() && Window_)
        PostMessageW(Window_.release(), WM_CLOSE, 0, 0);
}

bool THomeThread::Run(const std::function<void()>& Action) const {
    if (IsCurrent()) {
        Action();
        return true;
    }
    return Window_ && SendMessageW(Window_.get(), RunMessage, 0, reinterpret_cast<LPARAM>(&Action)) != 0;
}

LRESULT CALLBACK THomeThread::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == RunMessage) {
        (*reinterpret_cast<const std::function<void()>*>(LParam))();
        return 1;
    }
    return DefWindowProcW(Window, Message, WParam, LParam);
}

} // namespace dvdnav
