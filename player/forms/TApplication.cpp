#include "forms/TApplication.h"

#include "forms/LiveCounts.h"
#include "forms/MessageBoxSeam.h"
#include "forms/TForm.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

namespace vireon {
namespace {

constexpr char kWindowClass[] = "TApplication";

} // namespace

TApplication& Application() {
    static TApplication application;
    return application;
}

TApplication::TApplication() : FInstance(GetModuleHandleA(nullptr)) {}

TApplication::~TApplication() {
    Finalize();
}

void TApplication::Finalize() {
    FreeReleased();
    DestroyComponents();
    FKeptAlive.clear();
    FMainForm = nullptr;
    if (FHandle) {
        FHandle.reset();
        --LiveCounts().Windows;
    }
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Handle();
}

HWND TApplication::Handle() {
    if (FHandle)
        return FHandle.get();
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(FInstance, kWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = FInstance;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
    }
    FHandle.reset(CreateWindowExA(0, kWindowClass, FTitle.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  FInstance, nullptr));
    if (!FHandle)
        throw std::runtime_error("Cannot create the application window");
    ++LiveCounts().Windows;
    return FHandle.get();
}

LRESULT CALLBACK TApplication::WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg != WM_TIMER)
        return DefWindowProcA(Window, Msg, WParam, LParam);
    TApplication& application = Application();
    auto it = application.FTimers.find(WParam);
    if (it != application.FTimers.end()) {
        std::function<void()> tick = it->second;
        application.EnterDispatch();
        GuardedCall(tick);
        application.LeaveDispatch();
    }
    return 0;
}

bool TApplication::KeepsAlive(REFCLSID ClassId) const {
    return std::any_of(FKeptAlive.begin(), FKeptAlive.end(),
                       [&](const auto& kept) { return IsEqualCLSID(kept.first, ClassId); });
}

void TApplication::KeepAlive(REFCLSID ClassId, Microsoft::WRL::ComPtr<IUnknown> Object) {
    if (Object && !KeepsAlive(ClassId))
        FKeptAlive.emplace_back(ClassId, std::move(Object));
}

UINT_PTR TApplication::AllocateTimerId(std::function<void()> OnTick) {
    while (FTimers.count(FNextTimerId) || FNextTimerId == 0)
        ++FNextTimerId;
    UINT_PTR id = FNextTimerId++;
    FTimers.emplace(id, std::move(OnTick));
    return id;
}

void TApplication::FreeTimerId(UINT_PTR Id) {
    FTimers.erase(Id);
}

void TApplication::FormCreated(TForm* Form) {
    if (!FMainForm)
        FMainForm = Form;
    Form->DoCreate();
}

void TApplication::Run() {
    FTerminated = false;
    if (FMainForm)
        FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg))
        Idle();
}

void TApplication::Terminate() {
    FTerminated = true;
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& Msg) {
    if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    bool handled = false;
    EnterDispatch();
    try {
        CallEvent(OnMessage, Msg, handled);
        if (!handled && OnKeyMessage)
            handled = OnKeyMessage(Msg);
    } catch (...) {
        handled = true;
        HandleCurrentException();
    }
    if (!handled) {
        // Still inside the dispatch: a window procedure that is not the framework's (a skin's
        // subclass, say) may run handlers that free their form; it goes once the message is done.
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
    }
    LeaveDispatch();
    return true;
}

void TApplication::Idle() {
    bool done = true;
    EnterDispatch();
    try {
        CallEvent(OnIdle, this, done);
    } catch (...) {
        HandleCurrentException();
    }
    LeaveDispatch();
    if (done && !FTerminated)
        WaitMessage();
}

void TApplication::ShowException(const std::exception& E) {
    std::string text = E.what();
    if (text.empty())
        text = "Unknown error";
    // A message reads as a sentence.
    if (text.back() != '.' && text.back() != '!' && text.back() != '?')
        text += '.';
    HWND owner = GetActiveWindow();
    NormalizeTopMosts();
    ShowMessageBox(owner, text, "Error", MB_OK | MB_ICONSTOP);
    RestoreTopMosts();
}

void TApplication::HandleException(const std::exception& E) {
    if (!OnException) {
        ShowException(E);
        return;
    }
    try {
        CallEvent(OnException, this, E);
    } catch (const std::exception& inner) {
        // The handler itself failed: fall back to the standard display rather than lose both.
        ShowException(inner);
    } catch (...) {
        ShowException(E);
    }
}

void TApplication::HandleCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        HandleException(e);
    } catch (...) {
        HandleException(std::runtime_error("Unknown exception"));
    }
}

namespace {

BOOL CALLBACK CollectTopMost(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

} // namespace

void TApplication::NormalizeTopMosts() {
    if (FTopMostLevel++ > 0)
        return;
    FTopMostList.clear();
    EnumThreadWindows(GetCurrentThreadId(), CollectTopMost, reinterpret_cast<LPARAM>(&FTopMostList));
    for (HWND window : FTopMostList)
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TApplication::RestoreTopMosts() {
    if (FTopMostLevel == 0 || --FTopMostLevel > 0)
        return;
    for (auto it = FTopMostList.rbegin(); it != FTopMostList.rend(); ++it)
        if (IsWindow(*it))
            SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FTopMostList.clear();
}

void TApplication::ReleaseComponent(TComponent* AComponent) {
    if (FDispatchDepth == 0) {
        FreeComponent(AComponent);
        return;
    }
    if (!AComponent->FReleasePending) {
        AComponent->FReleasePending = true;
        FReleased.push_back(AComponent);
    }
}

void TApplication::CancelRelease(TComponent* AComponent) {
    AComponent->FReleasePending = false;
    FReleased.erase(std::remove(FReleased.begin(), FReleased.end(), AComponent), FReleased.end());
}

void TApplication::LeaveDispatch() {
    if (--FDispatchDepth == 0)
        FreeReleased();
}

void TApplication::FreeReleased() {
    while (!FReleased.empty()) {
        TComponent* component = FReleased.back();
        FReleased.pop_back();
        component->FReleasePending = false;
        FreeComponent(component);
    }
}

} // namespace vireon
