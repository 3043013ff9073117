// Sizing for a window whose frame the skin draws: the edges and corners of the window resize it,
// a double-click on its title strip maximises it or restores it, and it keeps a minimum size.
// Maximised, it fills the work area of its monitor, not the whole screen.
//
// It sits in front of the skin on the window's message path (a subclass made after the skin's),
// because the skin answers the frame's hit tests itself and knows only moving by its title strip.
// The sizing loop is our own: the platform's needs a thick frame, which the skin takes away.
#pragma once

#include <windows.h>

namespace vireon {

class TWindowSizer {
public:
    static constexpr int kBorder = 5;

    TWindowSizer() = default;
    ~TWindowSizer() { Detach(); }
    TWindowSizer(const TWindowSizer&) = delete;
    TWindowSizer& operator=(const TWindowSizer&) = delete;

    // Installs in front of whatever handles the window's messages now. Again on the same window, it
    // moves to the front.
    void Attach(HWND Window, SIZE MinSize);
    void Detach();
    bool Attached() const { return FWindow != nullptr; }
    SIZE MinSize() const { return FMinSize; }

    // The sizing hit code (HTLEFT ... HTBOTTOMRIGHT) of a screen point on the window, 0 elsewhere.
    int SizingHit(POINT Screen) const;
    // Maximised, restored again.
    void ToggleMaximized();
    // The window rectangle that dragging the Hit edge from Start by the screen offset gives.
    static RECT DraggedRect(const RECT& Start, int Hit, POINT Offset, SIZE MinSize);

private:
    static LRESULT CALLBACK SubclassProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                         DWORD_PTR Self);
    bool Handle(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result);
    void BeginSizing(int Hit);
    void TrackSizing();
    void EndSizing();
    void FillMinMaxInfo(MINMAXINFO& Info) const;

    HWND FWindow = nullptr;
    SIZE FMinSize{};
    // The running drag: which edge, the window and the cursor at its start.
    int FSizingHit = 0;
    RECT FStartRect{};
    POINT FStartCursor{};
};

} // namespace vireon
