#include "engine/TRendererPopup.h"

#include <commctrl.h>

namespace vireon {
namespace {

constexpr const wchar_t* kRendererClasses[] = {L"VideoRenderer", L"wine_quartz_window"};

bool IsEmpty(const RECT& Area) {
    return Area.right <= Area.left || Area.bottom <= Area.top;
}

} // namespace

bool PlatformShowsChildRenderer() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return !ntdll || !GetProcAddress(ntdll, "wine_get_version");
}

HWND TRendererPopup::FindRendererWindow(const std::wstring& Caption) {
    for (const wchar_t* name : kRendererClasses) {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, name, Caption.c_str())) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId())
                return window;
        }
    }
    return nullptr;
}

void TRendererPopup::Attach(HWND Control, HWND Renderer) {
    if (FRenderer != Renderer || FControl != Control)
        Detach();
    FControl = Control;
    FRenderer = Renderer;
    Place();
}

void TRendererPopup::Detach() {
    Follow(nullptr);
    if (FRenderer && IsWindow(FRenderer)) {
        Conceal();
        SetWindowLongPtrW(FRenderer, GWLP_HWNDPARENT, 0);
    }
    FRenderer = nullptr;
    FControl = nullptr;
    FHiddenByUs = false;
    FSuspended = false;
}

// Owned windows go with their owner's destruction: without an owner while the form is hidden, the
// renderer window cannot be destroyed under its filter.
void TRendererPopup::Conceal() {
    if (IsWindowVisible(FRenderer)) {
        SetWindowPos(FRenderer, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        FHiddenByUs = true;
    }
}

void TRendererPopup::Suspend() {
    FSuspended = true;
    if (FRenderer && IsWindow(FRenderer))
        Conceal();
}

void TRendererPopup::Resume() {
    FSuspended = false;
    Place();
}

void TRendererPopup::Place() {
    if (FSuspended || !FRenderer || !FControl || !IsWindow(FRenderer) || !IsWindow(FControl))
        return;
    HWND root = GetAncestor(FControl, GA_ROOT);
    Follow(root);
    if (!IsWindowVisible(FControl) || IsIconic(root)) {
        Conceal();
        if (!IsWindowVisible(root))
            SetWindowLongPtrW(FRenderer, GWLP_HWNDPARENT, 0);
        return;
    }
    UINT flags = SWP_NOACTIVATE | SWP_NOZORDER;
    HWND after = nullptr;
    if (GetWindow(FRenderer, GW_OWNER) != root) {
        SetWindowLongPtrW(FRenderer, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(root));
        // Directly above its form: below the form's menus, dialogs and other owned windows.
        after = GetWindow(root, GW_HWNDPREV);
        if (after == FRenderer)
            after = GetWindow(FRenderer, GW_HWNDPREV);
        if (!after)
            after = HWND_TOP;
        flags &= ~SWP_NOZORDER;
    }
    if (FHiddenByUs) {
        flags |= SWP_SHOWWINDOW;
        FHiddenByUs = false;
    }
    RECT area{};
    GetClientRect(FControl, &area);
    if (!IsEmpty(FArea))
        area = FArea;
    MapWindowPoints(FControl, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    SetWindowPos(FRenderer, after, area.left, area.top, area.right - area.left, area.bottom - area.top, flags);
}

void TRendererPopup::Follow(HWND Root) {
    if (Root == FRoot)
        return;
    if (FRoot && IsWindow(FRoot))
        RemoveWindowSubclass(FRoot, &TRendererPopup::FormProc, reinterpret_cast<UINT_PTR>(this));
    FRoot = Root;
    if (FRoot)
        SetWindowSubclass(FRoot, &TRendererPopup::FormProc, reinterpret_cast<UINT_PTR>(this),
                          reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK TRendererPopup::FormProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                          DWORD_PTR Data) {
    LRESULT result = DefSubclassProc(Window, Msg, WParam, LParam);
    auto* popup = reinterpret_cast<TRendererPopup*>(Data);
    switch (Msg) {
    case WM_WINDOWPOSCHANGED:
        popup->Place();
        break;
    case WM_NCDESTROY:
        popup->FRoot = nullptr;
        break;
    default:
        break;
    }
    return result;
}

} // namespace vireon
