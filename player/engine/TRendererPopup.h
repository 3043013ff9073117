// Keeps a video renderer's window as a popup owned by the form of a control, laid exactly over the
// control (or a part of it): it follows every move, resize, minimise, restore, hide and show of
// the form, of the control and of every window between them (a panel the control sits on). Used
// where the platform shows no picture in a renderer window that is a child of ours.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vireon {

class TRendererPopup {
public:
    TRendererPopup() = default;
    ~TRendererPopup() { Detach(); }
    TRendererPopup(const TRendererPopup&) = delete;
    TRendererPopup& operator=(const TRendererPopup&) = delete;

    // The renderer window of this process with the caption (either renderer window class), found
    // again when the one known is gone; nullptr when none.
    static HWND FindRendererWindow(const std::wstring& Caption);

    // Lays Renderer over Control from now on.
    void Attach(HWND Control, HWND Renderer);
    // Lets the renderer window go: hidden, without owner, no longer following.
    void Detach();
    HWND Window() const { return FRenderer; }
    // The part of the control's client area the picture takes; empty = all of it.
    void SetArea(const RECT& Area) { FArea = Area; }
    // Puts the renderer window where it belongs now: over the control, shown and owned by the
    // control's form while both are visible; hidden and without owner otherwise.
    void Place();
    // Hides the renderer window while the control moves between forms, so no frame shows at a
    // size in between; Resume places it again.
    void Suspend();
    void Resume();
    // Hides the mouse cursor over the renderer window (Wine's renderer ignores its own HideCursor):
    // the renderer window's cursor is then set by us.
    void SetCursorHidden(bool Value);
    bool CursorHidden() const { return FCursorHidden; }

private:
    static LRESULT CALLBACK FormProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                     DWORD_PTR Data);
    static LRESULT CALLBACK RendererProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                         DWORD_PTR Data);
    void WatchRenderer(bool Watch);
    // Watches the control's ancestors up to its form (empty: none).
    void Follow(std::vector<HWND> Ancestors);
    void Forget(HWND Ancestor);
    void Conceal();
    void RepaintUncovered(HWND Root, const RECT& Before, const RECT& After);

    HWND FControl = nullptr;
    HWND FRenderer = nullptr;
    std::vector<HWND> FFollowed;
    RECT FArea{};
    // The renderer window was showing when we hid it, so it shows again with the control.
    bool FHiddenByUs = false;
    bool FSuspended = false;
    bool FCursorHidden = false;
    // The renderer window is subclassed (only possible where this thread created it).
    bool FRendererWatched = false;
};

// True where a renderer window made a child of ours shows its picture (Windows); false on Wine,
// recognised by ntdll's wine_get_version.
bool PlatformShowsChildRenderer();

} // namespace vireon
