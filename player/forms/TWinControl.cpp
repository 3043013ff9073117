#include "forms/TWinControl.h"

#include "forms/LiveCounts.h"
#include "forms/TApplication.h"
#include "forms/TMenuItem.h"
#include "forms/TPopupMenu.h"
#include "forms/TScreen.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

namespace vireon {
namespace {

constexpr char kControlProperty[] = "VireonControl";

void RegisterOwnClass(const TCreateParams& params) {
    HINSTANCE instance = Application().Instance();
    WNDCLASSA windowClass{};
    if (GetClassInfoA(instance, params.ClassName.c_str(), &windowClass))
        return;
    windowClass.style = params.ClassStyle;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "MAINICON");
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = params.ClassName.c_str();
    if (!RegisterClassA(&windowClass))
        throw std::runtime_error("Cannot register the window class " + params.ClassName);
}

} // namespace

TShiftState MouseShiftState(WPARAM KeyFlags) {
    TShiftState state = 0;
    if (KeyFlags & MK_SHIFT)
        state |= ssShift;
    if (KeyFlags & MK_CONTROL)
        state |= ssCtrl;
    if (KeyFlags & MK_LBUTTON)
        state |= ssLeft;
    if (KeyFlags & MK_RBUTTON)
        state |= ssRight;
    if (KeyFlags & MK_MBUTTON)
        state |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        state |= ssAlt;
    return state;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    // Normally done by the destruction phase; a control deleted directly still lets go of all.
    FreeWindowAndChildren();
    if (FBrush)
        CountGdiObject(-1);
}

void TWinControl::BeforeDestruction() {
    FreeWindowAndChildren();
    TControl::BeforeDestruction();
}

void TWinControl::FreeWindowAndChildren() {
    // The window goes first, taking its child windows with it in one step rather than one by one
    // with a repaint each time.
    DestroyHandle();
    DestroyComponents();
    // Like owners, parents take their remaining children with them.
    while (!FControls.empty())
        FreeComponent(FControls.back());
}

void TWinControl::Free() {
    Application().ReleaseComponent(this);
}

HWND TWinControl::Handle() {
    if (!FHandle)
        CreateHandle();
    return FHandle.get();
}

// Every message asks which control a window has. Reading a property is a round trip to the window
// server under Wine, reading the window's user data is not; the user data is trusted only while our
// procedure is the window's, the property answers for windows subclassed again and foreign ones.
TWinControl* TWinControl::FromHandle(HWND Window) {
    if (!Window)
        return nullptr;
    if (GetWindowLongPtrA(Window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TWinControl::StaticWndProc))
        return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
    return static_cast<TWinControl*>(GetPropA(Window, kControlProperty));
}

void TWinControl::Setup(const std::string& AName, const std::string& ACaption, const RECT& ABounds,
                        TWinControl* AParent) {
    SetName(AName);
    FCaption = ACaption;
    SetBounds(ABounds.left, ABounds.top, ABounds.right - ABounds.left, ABounds.bottom - ABounds.top);
    SetParent(AParent);
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params.ClassName = "TWinControl";
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

void TWinControl::CreateHandle() {
    TCreateParams params;
    CreateParams(params);
    if (params.OwnClass)
        RegisterOwnClass(params);
    HWND parent = params.WndParent;
    if ((params.Style & WS_CHILD) && !Parent() && FPopupWhenParentless) {
        params.Style = (params.Style & ~WS_CHILD) | WS_POPUP;
        parent = FPopupOwner;
        if (FVisible)
            params.Style |= WS_VISIBLE;
    } else if (params.Style & WS_CHILD) {
        parent = Parent() ? Parent()->Handle() : HWND_MESSAGE;
        // Making the parent's window makes its children's windows, this one included.
        if (FHandle)
            return;
        // A child is made visible at once: showing it afterwards costs a round of messages.
        if (FVisible)
            params.Style |= WS_VISIBLE;
    }
    HWND window =
        CreateWindowExA(params.ExStyle, params.ClassName.c_str(), FCaption.c_str(), params.Style, Left(),
                        Top(), Width(), Height(), parent, params.Menu, Application().Instance(), nullptr);
    if (!window)
        throw std::runtime_error("Cannot create a window of class " + params.ClassName);
    FHandle.reset(window);
    FOwnClass = params.OwnClass;
    ++LiveCounts().Windows;
    SetPropA(window, kControlProperty, this);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    FDefWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::StaticWndProc)));
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    if (!FEnabled)
        EnableWindow(window, FALSE);
    HandleCreated();
    CreateChildHandles();
    AlignControls();
    ApplyVisible();
}

// A hidden child gets its window when it is shown or its handle is first asked for: a skinned window
// keeps a row of hidden buttons that never need one, and each window costs start-up time.
void TWinControl::CreateChildHandles() {
    for (TControl* control : FControls)
        if (auto* child = dynamic_cast<TWinControl*>(control)) {
            if (!child->FHandle) {
                if (child->FVisible)
                    child->CreateHandle();
            } else if (GetParent(child->FHandle.get()) != FHandle.get()) {
                ::SetParent(child->FHandle.get(), FHandle.get());
            }
        }
}

void TWinControl::DestroyHandle() {
    if (FHandle)
        DestroyWindow(FHandle.get());
    // Normally gone with WM_NCDESTROY; a window that refused to go is forgotten all the same.
    if (FHandle)
        WindowDestroyed();
}

void TWinControl::WindowDestroyed() {
    SetWindowLongPtrA(FHandle.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc));
    RemovePropA(FHandle.get(), kControlProperty);
    FHandle.release();
    --LiveCounts().Windows;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWinControl* control = FromHandle(Window);
    if (!control)
        return DefWindowProcA(Window, Msg, WParam, LParam);
    TMessage message{Msg, WParam, LParam, 0};
    TApplication& application = Application();
    application.EnterDispatch();
    try {
        control->MainWndProc(message);
    } catch (...) {
        // A failed paint must still validate, or the window asks for paint forever.
        if (Msg == WM_PAINT)
            ValidateRect(Window, nullptr);
        application.HandleCurrentException();
    }
    if (Msg == WM_NCDESTROY && control->FHandle.get() == Window)
        control->WindowDestroyed();
    application.LeaveDispatch();
    return message.Result;
}

void TWinControl::MainWndProc(TMessage& Message) {
    if (OnWindowMessage) {
        TMessageHandler hook = OnWindowMessage;
        if (hook(Message))
            return;
    }
    auto handler = FMessageHandlers.find(Message.Msg);
    if (handler != FMessageHandlers.end()) {
        TMessageHandler copy = handler->second;
        if (copy(Message))
            return;
    }
    WndProc(Message);
}

void TWinControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        if (ReflectNotification(Message))
            return;
        break;
    case WM_ERASEBKGND:
        if (EraseBackground(reinterpret_cast<HDC>(Message.WParam))) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_SIZE:
    case WM_MOVE:
        HandleBoundsChanged(Message);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        HandleMouse(Message);
        break;
    case WM_CONTEXTMENU:
        if (HandleContextMenu(Message))
            return;
        break;
    case WM_SETCURSOR:
        if (HandleSetCursor(Message))
            return;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (HandleKey(Message))
            return;
        break;
    default:
        break;
    }
    DefaultHandler(Message);
}

void TWinControl::HandleBoundsChanged(TMessage& Message) {
    DefaultHandler(Message);
    if (IsIconic(FHandle.get()))
        return;
    RECT bounds;
    GetWindowRect(FHandle.get(), &bounds);
    if (GetWindowLongA(FHandle.get(), GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(FHandle.get()), reinterpret_cast<POINT*>(&bounds), 2);
    UpdateBoundsFromWindow(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    if (Message.Msg == WM_SIZE) {
        AlignControls();
        CallEvent(OnResize, this);
    }
}

// A key handler that clears the key swallows it.
bool TWinControl::HandleKey(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    TShiftState shift = KeyboardShiftState();
    bool down = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
    CallEvent(down ? OnKeyDown : OnKeyUp, this, key, shift);
    return key == 0;
}

void TWinControl::DefaultHandler(TMessage& Message) {
    if (FHandle.get() && FDefWndProc)
        Message.Result =
            CallWindowProcA(FDefWndProc, FHandle.get(), Message.Msg, Message.WParam, Message.LParam);
}

bool TWinControl::ReflectNotification(TMessage& Message) {
    HWND child = nullptr;
    switch (Message.Msg) {
    case WM_COMMAND:
        if (Message.LParam == 0) {
            // A menu or accelerator command: the item that owns the identifier runs.
            TMenuItem* item = TMenuItem::FromCommand(LOWORD(Message.WParam));
            if (!item)
                return false;
            if (item->Enabled() && item->Count() == 0)
                item->Click();
            return true;
        }
        child = reinterpret_cast<HWND>(Message.LParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom;
        break;
    default:
        child = reinterpret_cast<HWND>(Message.LParam);
        break;
    }
    TWinControl* control = child && child != FHandle.get() ? FromHandle(child) : nullptr;
    return control && control->HandleNotification(Message);
}

void TWinControl::HandleMouse(TMessage& Message) {
    int x = GET_X_LPARAM(Message.LParam);
    int y = GET_Y_LPARAM(Message.LParam);
    TShiftState shift = MouseShiftState(Message.WParam);
    switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
        MouseDown(mbLeft, shift | ssDouble, x, y);
        CallEvent(OnDblClick, this);
        break;
    case WM_LBUTTONDOWN:
        MouseDown(mbLeft, shift, x, y);
        break;
    case WM_RBUTTONDBLCLK:
        shift |= ssDouble;
        [[fallthrough]];
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, shift, x, y);
        break;
    case WM_MBUTTONDBLCLK:
        shift |= ssDouble;
        [[fallthrough]];
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, shift, x, y);
        break;
    case WM_LBUTTONUP:
        MouseUp(mbLeft, shift, x, y);
        break;
    case WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, shift, x, y);
        break;
    default:
        MouseMove(shift, x, y);
        break;
    }
}

void TWinControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    CallEvent(OnMouseDown, this, Button, Shift, X, Y);
}

void TWinControl::MouseMove(TShiftState Shift, int X, int Y) {
    CallEvent(OnMouseMove, this, Shift, X, Y);
}

void TWinControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    CallEvent(OnMouseUp, this, Button, Shift, X, Y);
}

// A child without a popup menu passes the request up, so the parent's menu shows for it.
bool TWinControl::HandleContextMenu(TMessage& Message) {
    POINT screen{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    if (Message.LParam == -1)
        screen = ClientToScreen({ClientWidth() / 2, ClientHeight() / 2});
    bool handled = false;
    CallEvent(OnContextPopup, this, ScreenToClient(screen), handled);
    if (!handled && PopupMenu() && PopupMenu()->AutoPopup()) {
        PopupMenu()->SetPopupComponent(this);
        PopupMenu()->Popup(screen.x, screen.y, FHandle.get());
        handled = true;
    }
    if (handled)
        Message.Result = 1;
    return handled;
}

bool TWinControl::HandleSetCursor(TMessage& Message) {
    if (LOWORD(Message.LParam) != HTCLIENT)
        return false;
    TCursor cursor = Screen().Cursor() != crDefault ? Screen().Cursor() : FCursor;
    if (cursor == crDefault)
        return false;
    ::SetCursor(CursorHandle(cursor));
    Message.Result = TRUE;
    return true;
}

bool TWinControl::EraseBackground(HDC DC) {
    if (!FOwnClass)
        return false;
    RECT client;
    GetClientRect(FHandle.get(), &client);
    FillRect(DC, &client, ColorBrush());
    return true;
}

HBRUSH TWinControl::ColorBrush() {
    if (!FBrush) {
        FBrush = MakeBrush(FColor);
        CountGdiObject(1);
    }
    return FBrush.get();
}

bool TWinControl::ColorStatic(TMessage& Message) {
    if (Message.Msg != WM_CTLCOLORSTATIC && Message.Msg != WM_CTLCOLORBTN)
        return false;
    TWinControl* source = ColorSource();
    auto dc = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(dc, ColorToRGB(Font().Color()));
    SetBkColor(dc, ColorToRGB(source->Color()));
    Message.Result = reinterpret_cast<LRESULT>(source->ColorBrush());
    return true;
}

void TWinControl::InsertControl(TControl* Control) {
    FControls.push_back(Control);
    Control->FParent = this;
}

void TWinControl::RemoveControl(TControl* Control) {
    auto it = std::find(FControls.begin(), FControls.end(), Control);
    if (it == FControls.end())
        return;
    FControls.erase(it);
    Control->FParent = nullptr;
    if (Control->Align() != alNone)
        AlignControls();
}

void TWinControl::RecreateWnd() {
    if (!FHandle)
        return;
    DestroyHandle();
    if (Parent() || FPopupWhenParentless)
        Handle();
}

void TWinControl::SetPopupWhenParentless(bool Value) {
    if (FPopupWhenParentless == Value)
        return;
    FPopupWhenParentless = Value;
    if (!Parent())
        RecreateWnd();
}

void TWinControl::SetPopupOwner(HWND Value) {
    FPopupOwner = Value;
    if (FHandle && !Parent() && FPopupWhenParentless)
        SetWindowLongPtrA(FHandle.get(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Value));
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (AParent == Parent())
        return;
    bool wasPopup = FPopupWhenParentless && !Parent();
    TControl::SetParent(AParent);
    // Between child and top-level popup the window changes kind: it is made again.
    if (FHandle && FPopupWhenParentless && wasPopup != !AParent) {
        RecreateWnd();
    } else if (FHandle) {
        ::SetParent(FHandle.get(), AParent && AParent->FHandle.get() ? AParent->FHandle.get() : HWND_MESSAGE);
        SetWindowPos(FHandle.get(), nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (AParent && AParent->FHandle.get()) {
        CreateHandle();
    }
    if (AParent)
        AParent->AlignControls();
}

void TWinControl::BoundsChanged() {
    if (FHandle)
        SetWindowPos(FHandle.get(), nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    ApplyVisible();
    if (Parent() && Align() != alNone)
        Parent()->AlignControls();
}

void TWinControl::ApplyVisible() {
    if (!FHandle && FVisible && Parent() && Parent()->HandleAllocated()) {
        CreateHandle();
        return;
    }
    if (FHandle.get() && (IsWindowVisible(FHandle.get()) != FALSE) != FVisible)
        ShowWindow(FHandle.get(), FVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value) {
    FEnabled = Value;
    if (FHandle)
        EnableWindow(FHandle.get(), Value);
}

void TWinControl::SetCaption(const std::string& Value) {
    FCaption = Value;
    if (FHandle)
        SetWindowTextA(FHandle.get(), Value.c_str());
}

void TWinControl::SetColor(TColor Value) {
    if (FColor == Value)
        return;
    FColor = Value;
    if (FBrush) {
        FBrush.reset();
        CountGdiObject(-1);
    }
    Invalidate();
}

void TWinControl::SetCursor(TCursor Value) {
    TControl::SetCursor(Value);
    POINT cursor;
    if (FHandle.get() && GetCursorPos(&cursor) && WindowFromPoint(cursor) == FHandle.get())
        ::SetCursor(CursorHandle(Screen().Cursor() != crDefault ? Screen().Cursor() : Value));
}

void TWinControl::FontChanged() {
    if (FHandle)
        SendMessageA(FHandle.get(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

int TWinControl::ClientWidth() const {
    RECT client{0, 0, Width(), Height()};
    if (FHandle)
        GetClientRect(FHandle.get(), &client);
    return client.right;
}

int TWinControl::ClientHeight() const {
    RECT client{0, 0, Width(), Height()};
    if (FHandle)
        GetClientRect(FHandle.get(), &client);
    return client.bottom;
}

POINT TWinControl::ClientOrigin() const {
    if (!FHandle)
        return TControl::ClientOrigin();
    POINT origin{0, 0};
    ::ClientToScreen(FHandle.get(), &origin);
    return origin;
}

void TWinControl::SetClientSize(int AWidth, int AHeight) {
    HWND window = Handle();
    RECT frame{0, 0, AWidth, AHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                       GetMenu(window) != nullptr, static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    SetBounds(Left(), Top(), frame.right - frame.left, frame.bottom - frame.top);
}

void TWinControl::SetFocus() {
    ::SetFocus(Handle());
}

bool TWinControl::Focused() const {
    return FHandle.get() && GetFocus() == FHandle.get();
}

void TWinControl::Invalidate() {
    if (FHandle)
        InvalidateRect(FHandle.get(), nullptr, TRUE);
}

void TWinControl::Update() {
    if (FHandle)
        UpdateWindow(FHandle.get());
}

LRESULT TWinControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    return SendMessageA(Handle(), Msg, WParam, LParam);
}

void TWinControl::SetMessageHandler(UINT Msg, TMessageHandler Handler) {
    if (Handler)
        FMessageHandlers[Msg] = std::move(Handler);
    else
        FMessageHandlers.erase(Msg);
}

TMessageHandler TWinControl::MessageHandler(UINT Msg) const {
    auto handler = FMessageHandlers.find(Msg);
    return handler == FMessageHandlers.end() ? TMessageHandler() : handler->second;
}

void TWinControl::AlignControls() {
    if (!FHandle.get() || FAligning)
        return;
    FAligning = true;
    RECT area{0, 0, ClientWidth(), ClientHeight()};
    int dw = FLayoutWidth < 0 ? 0 : area.right - FLayoutWidth;
    int dh = FLayoutHeight < 0 ? 0 : area.bottom - FLayoutHeight;
    FLayoutWidth = area.right;
    FLayoutHeight = area.bottom;
    if (dw != 0 || dh != 0) {
        for (TControl* control : FControls) {
            if (control->Align() != alNone)
                continue;
            TAnchors anchors = control->Anchors();
            int left = control->Left(), top = control->Top(), width = control->Width(),
                height = control->Height();
            if (anchors & akRight)
                (anchors & akLeft) ? width += dw : left += dw;
            else if (!(anchors & akLeft))
                left += dw / 2;
            if (anchors & akBottom)
                (anchors & akTop) ? height += dh : top += dh;
            else if (!(anchors & akTop))
                top += dh / 2;
            control->SetBounds(left, top, width, height);
        }
    }
    for (TAlign which : {alTop, alBottom, alLeft, alRight, alClient})
        LayoutAligned(area, which);
    FAligning = false;
}

void TWinControl::LayoutAligned(RECT& Area, TAlign Which) {
    for (TControl* control : FControls) {
        if (control->Align() != Which || !control->Visible())
            continue;
        int width = Area.right - Area.left;
        int height = Area.bottom - Area.top;
        switch (Which) {
        case alTop:
            control->SetBounds(Area.left, Area.top, width, control->Height());
            Area.top += control->Height();
            break;
        case alBottom:
            control->SetBounds(Area.left, Area.bottom - control->Height(), width, control->Height());
            Area.bottom -= control->Height();
            break;
        case alLeft:
            control->SetBounds(Area.left, Area.top, control->Width(), height);
            Area.left += control->Width();
            break;
        case alRight:
            control->SetBounds(Area.right - control->Width(), Area.top, control->Width(), height);
            Area.right -= control->Width();
            break;
        default:
            control->SetBounds(Area.left, Area.top, width, height);
            break;
        }
    }
}

} // namespace vireon
