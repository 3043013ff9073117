#include "engine/TRendererPopup.h"

#include "engine/PlatformObjects.h"

#include <commctrl.h>

#include "common/Win32Handles.h"

namespace vireon {
namespace {

constexpr const wchar_t* kRendererClasses[] = {L"VideoRenderer", L"wine_quartz_window"};

bool IsEmpty(const RECT& Area) {
    return Area.right <= Area.left || Area.bottom <= Area.top;
}

// The control's parent, its parent's parent and so on up to the top-level window, inclusive.
std::vector<HWND> AncestorsOf(HWND Control) {
    std::vector<HWND> ancestors;
    HWND desktop = GetDesktopWindow();
    for (HWND window = GetAncestor(Control, GA_PARENT); window && window != desktop;
         window = GetAncestor(window, GA_PARENT))
        ancestors.push_back(window);
    return ancestors;
}

} // namespace

bool PlatformShowsChildRenderer() {
    return !RunningOnWine();
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
    WatchRenderer(true);
    Place();
}

void TRendererPopup::Detach() {
    Follow({});
    WatchRenderer(false);
    if (FRenderer && IsWindow(FRenderer)) {
        Conceal();
        SetWindowLongPtrW(FRenderer, GWLP_HWNDPARENT, 0);
    }
    FRenderer = nullptr;
    FControl = nullptr;
    FHiddenByUs = false;
    FSuspended = false;
    FCursorHidden = false;
}

void TRendererPopup::WatchRenderer(bool Watch) {
    if (Watch == FRendererWatched || !FRenderer || !IsWindow(FRenderer))
        return;
    const auto id = reinterpret_cast<UINT_PTR>(this);
    if (Watch)
        FRendererWatched = GetWindowThreadProcessId(FRenderer, nullptr) == GetCurrentThreadId() &&
                           SetWindowSubclass(FRenderer, &TRendererPopup::RendererProc, id,
                                             reinterpret_cast<DWORD_PTR>(this));
    else
        FRendererWatched = !RemoveWindowSubclass(FRenderer, &TRendererPopup::RendererProc, id);
}

void TRendererPopup::SetCursorHidden(bool Value) {
    if (Value == FCursorHidden)
        return;
    FCursorHidden = Value;
    if (!FRenderer || !IsWindow(FRenderer))
        return;
    // The cursor changes now, not at the next move, when it is over the renderer window.
    POINT cursor{};
    if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == FRenderer)
        SendMessageW(FRenderer, WM_SETCURSOR, reinterpret_cast<WPARAM>(FRenderer),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

LRESULT CALLBACK TRendererPopup::RendererProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam,
                                              UINT_PTR Id, DWORD_PTR Data) {
    auto* popup = reinterpret_cast<TRendererPopup*>(Data);
    if (Msg == WM_SETCURSOR && popup->FCursorHidden && LOWORD(LParam) == HTCLIENT) {
        SetCursor(nullptr);
        return TRUE;
    }
    if (Msg == WM_NCDESTROY) {
        RemoveWindowSubclass(Window, &TRendererPopup::RendererProc, Id);
        popup->FRendererWatched = false;
    }
    return DefSubclassProc(Window, Msg, WParam, LParam);
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
    Follow(AncestorsOf(FControl));
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
    RECT before{};
    bool wasShowing = IsWindowVisible(FRenderer) && GetWindowRect(FRenderer, &before);
    SetWindowPos(FRenderer, after, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 flags);
    if (wasShowing)
        RepaintUncovered(root, before, area);
}

// What the renderer window covered before its move shows the form again now, not when the
// display reports the area exposed: no frame keeps a stale picture beside the control.
void TRendererPopup::RepaintUncovered(HWND Root, const RECT& Before, const RECT& After) {
    UniqueRegion uncovered(CreateRectRgnIndirect(&Before));
    UniqueRegion covered(CreateRectRgnIndirect(&After));
    if (!uncovered || !covered ||
        CombineRgn(uncovered.get(), uncovered.get(), covered.get(), RGN_DIFF) == NULLREGION)
        return;
    POINT origin{0, 0};
    ClientToScreen(Root, &origin);
    OffsetRgn(uncovered.get(), -origin.x, -origin.y);
    RedrawWindow(Root, nullptr, uncovered.get(),
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TRendererPopup::Follow(std::vector<HWND> Ancestors) {
    if (Ancestors == FFollowed)
        return;
    const auto id = reinterpret_cast<UINT_PTR>(this);
    for (HWND window : FFollowed)
        if (IsWindow(window))
            RemoveWindowSubclass(window, &TRendererPopup::FormProc, id);
    FFollowed = std::move(Ancestors);
    for (HWND window : FFollowed)
        SetWindowSubclass(window, &TRendererPopup::FormProc, id, reinterpret_cast<DWORD_PTR>(this));
}

void TRendererPopup::Forget(HWND Ancestor) {
    RemoveWindowSubclass(Ancestor, &TRendererPopup::FormProc, reinterpret_cast<UINT_PTR>(this));
    std::erase(FFollowed, Ancestor);
}

// Moved, resized, shown or hidden: any ancestor's change moves the control on the screen or
// changes whether it shows, without a message to the control itself.
LRESULT CALLBACK TRendererPopup::FormProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                          DWORD_PTR Data) {
    LRESULT result = DefSubclassProc(Window, Msg, WParam, LParam);
    auto* popup = reinterpret_cast<TRendererPopup*>(Data);
    switch (Msg) {
    case WM_WINDOWPOSCHANGED:
        popup->Place();
        break;
    case WM_NCDESTROY:
        popup->Forget(Window);
        break;
    default:
        break;
    }
    return result;
}

} // namespace vireon
