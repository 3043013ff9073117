// Controls with a window of their own: the window is made on first need, subclassed so every
// message passes the framework, and children are laid out by alignment and anchors.
#pragma once

#include "forms/TControl.h"

#include <map>
#include <vector>

namespace vireon {

struct TCreateParams {
    std::string ClassName;
    // Our own classes are registered by the framework; platform classes (BUTTON...) are not.
    bool OwnClass = true;
    UINT ClassStyle = CS_DBLCLKS;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    HWND WndParent = nullptr;
    // A top-level window's menu bar, set when the window is made rather than fitted in after.
    HMENU Menu = nullptr;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner = nullptr);
    ~TWinControl() override;

    // Frees the control, or, while a window procedure of the framework runs (an event handler of
    // this very control, say), as soon as the outermost one has returned.
    void Free() override;

    // The window, made now if it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }
    // The control owning a window, or nullptr for windows not made by the framework.
    static TWinControl* FromHandle(HWND Window);

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(Index); }

    void SetParent(TWinControl* AParent) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    void SetCaption(const std::string& Value) override;
    void SetColor(TColor Value) override;
    void SetCursor(TCursor Value) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    POINT ClientOrigin() const override;
    void SetClientSize(int AWidth, int AHeight);
    // The brush of the control's colour, kept while the colour stays.
    HBRUSH ColorBrush();
    // The colour the control is drawn on: its parent's when it takes its parent's colour.
    TWinControl* ColorSource() { return FParentColor && Parent() ? Parent() : this; }

    void SetFocus();
    bool Focused() const;
    void Invalidate();
    void Update();
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // Lays the children out again: aligned ones first, then anchored ones follow the size change.
    void AlignControls();

    // Runs before any other handling of every window message; true skips the rest.
    TMessageHandler OnWindowMessage;
    // A handler for one message of this window, run after OnWindowMessage; true skips the rest.
    void SetMessageHandler(UINT Msg, TMessageHandler Handler);
    TMessageHandler MessageHandler(UINT Msg) const;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

protected:
    // The window goes while the derived control can still answer its messages, then the owned
    // components and the child controls.
    void BeforeDestruction() override;
    // The common part of the controls' CreateArgs: name, caption, bounds, then the parent (which
    // makes the window when the parent has one).
    void Setup(const std::string& AName, const std::string& ACaption, const RECT& ABounds,
               TWinControl* AParent);
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateHandle();
    // Runs right after the window exists, before the children's windows are made.
    virtual void HandleCreated() {}
    void DestroyHandle();
    // The framework's handling of a message after the hooks; ends in DefaultHandler.
    virtual void WndProc(TMessage& Message);
    void DefaultHandler(TMessage& Message);
    // A notification a child window sent to its parent (WM_COMMAND, WM_HSCROLL, WM_CTLCOLOR...),
    // handed back to the child's control. True when handled.
    virtual bool HandleNotification(TMessage& /*Message*/) { return false; }
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual bool EraseBackground(HDC DC);
    // Answers WM_CTLCOLORSTATIC/WM_CTLCOLORBTN for a platform control drawn on its parent's colour
    // (ParentColor) or its own, with the text in the font's colour.
    bool ColorStatic(TMessage& Message);
    bool FParentColor = false;
    void FontChanged() override;
    void BoundsChanged() override;
    void ApplyVisible();

private:
    void FreeWindowAndChildren();
    friend class TControl;
    static LRESULT CALLBACK StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
    // OnWindowMessage, then the message's own handler, then WndProc.
    void MainWndProc(TMessage& Message);
    void InsertControl(TControl* Control);
    void RemoveControl(TControl* Control);
    void CreateChildHandles();
    void HandleMouse(TMessage& Message);
    void HandleBoundsChanged(TMessage& Message);
    bool HandleKey(TMessage& Message);
    bool HandleContextMenu(TMessage& Message);
    bool HandleSetCursor(TMessage& Message);
    bool ReflectNotification(TMessage& Message);
    void WindowDestroyed();
    void LayoutAligned(RECT& Area, TAlign Which);

    UniqueWindow FHandle;
    WNDPROC FDefWndProc = nullptr;
    std::vector<TControl*> FControls;
    std::map<UINT, TMessageHandler> FMessageHandlers;
    int FLayoutWidth = -1;
    int FLayoutHeight = -1;
    bool FAligning = false;
    UniqueBrush FBrush;
    bool FOwnClass = false;
};

// Shift state from a mouse message's key flags.
TShiftState MouseShiftState(WPARAM KeyFlags);

} // namespace vireon
