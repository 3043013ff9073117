#include "forms/TForm.h"

#include "forms/TApplication.h"
#include "forms/TButton.h"
#include "forms/TMenu.h"
#include "forms/TPopupMenu.h"
#include "forms/TScreen.h"

#include <stdexcept>
#include <vector>

namespace vireon {
namespace {

bool FormKeyMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)));
    return form && form->HandleKeyMessage(msg);
}

// The framework's control that holds a window: the window's own or its nearest ancestor's.
TWinControl* ControlOfWindow(HWND window) {
    for (; window; window = GetParent(window))
        if (TWinControl* control = TWinControl::FromHandle(window))
            return control;
    return nullptr;
}

TButton* FindButton(TWinControl* parent, bool cancel) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (!control->Visible() || !control->Enabled())
            continue;
        if (auto* button = dynamic_cast<TButton*>(control);
            button && (cancel ? button->Cancel() : button->Default()))
            return button;
        if (auto* container = dynamic_cast<TWinControl*>(control))
            if (TButton* found = FindButton(container, cancel))
                return found;
    }
    return nullptr;
}

BOOL CALLBACK DisableWindow(HWND window, LPARAM list) {
    auto* disabled = reinterpret_cast<std::vector<HWND>*>(list);
    if (window != disabled->front() && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        disabled->push_back(window);
    }
    return TRUE;
}

// The application's other windows are disabled while a modal form shows, and enabled again after.
class TModalScope {
public:
    explicit TModalScope(HWND modal) : FList{modal} {
        EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&FList));
    }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;
    ~TModalScope() {
        for (size_t i = 1; i < FList.size(); ++i)
            if (IsWindow(FList[i]))
                EnableWindow(FList[i], TRUE);
    }

private:
    std::vector<HWND> FList;
};

} // namespace

TForm* GetParentForm(TControl* Control) {
    while (Control && Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TForm*>(Control);
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    FVisible = false;
    SetBounds(100, 100, 400, 300);
    Screen().AddForm(this);
    if (!Application().OnKeyMessage)
        Application().OnKeyMessage = FormKeyMessage;
}

TForm::~TForm() {
    // A form deleted directly, not freed: what the phase would have done, at the form's level.
    Destroying();
    Screen().RemoveForm(this);
    if (Application().MainForm() == this) {
        Application().SetMainForm(nullptr);
        Application().Terminate();
    }
}

void TForm::BeforeDestruction() {
    // A failing handler must not stop the form's destruction halfway.
    GuardedCall([this] { CallEvent(OnDestroy, this); });
    LeaveMenuWithWindow();
    TWinControl::BeforeDestruction();
}

void TForm::CreateParams(TCreateParams& Params) {
    Params.ClassName = "TForm";
    Params.Style = WS_CLIPCHILDREN;
    switch (FBorderStyle) {
    case bsNone:
        Params.Style |= WS_POPUP;
        break;
    case bsSingle:
        Params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case bsSizeable:
        Params.Style |= WS_OVERLAPPEDWINDOW;
        break;
    case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        Params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        Params.Style |= WS_CAPTION | WS_SYSMENU;
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (FFormStyle == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    if (FMenu)
        Params.Menu = FMenu->Handle();
}

void TForm::HandleCreated() {
    if (FMenu)
        FMenu->SetWindow(Handle());
}

void TForm::ApplyStyles() {
    if (!HandleAllocated())
        return;
    TCreateParams params;
    CreateParams(params);
    HWND window = Handle();
    DWORD visible = GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE;
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(params.Style | visible));
    SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>(params.ExStyle & ~WS_EX_TOPMOST));
    SetWindowPos(window, FFormStyle == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetBorderStyle(TFormBorderStyle Value) {
    if (FBorderStyle != Value) {
        FBorderStyle = Value;
        ApplyStyles();
    }
}

void TForm::SetFormStyle(TFormStyle Value) {
    if (FFormStyle != Value) {
        FFormStyle = Value;
        ApplyStyles();
    }
}

void TForm::SetMenu(TMainMenu* Value) {
    if (FMenu == Value)
        return;
    if (FMenu) {
        FMenu->SetWindow(nullptr);
        RemoveFreeNotification(FMenu);
    }
    FMenu = Value;
    if (FMenu) {
        FreeNotification(FMenu);
        if (HandleAllocated())
            FMenu->SetWindow(Handle());
    }
}

// The window would take its menu bar with it, so the bar comes off first. It comes off as the window
// goes, already hidden: taken off a shown window, the frame would be laid out and redrawn once more.
void TForm::LeaveMenuWithWindow() {
    TMainMenu* menu = FMenu;
    if (!menu || !HandleAllocated()) {
        SetMenu(nullptr);
        return;
    }
    RemoveFreeNotification(menu);
    FMenu = nullptr;
    TMessageHandler previous = MessageHandler(WM_DESTROY);
    SetMessageHandler(WM_DESTROY, [menu, previous](TMessage& Message) {
        menu->SetWindow(nullptr);
        return previous && previous(Message);
    });
}

void TForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenu)
        FMenu = nullptr;
}

bool TForm::Active() const {
    return HandleAllocated() && GetActiveWindow() == const_cast<TForm*>(this)->Handle();
}

void TForm::Show() {
    SetVisible(true);
    // Showing activates the form already; only one shown before has to be brought up.
    if (GetForegroundWindow() != Handle())
        BringToFront();
}

void TForm::SetVisible(bool Value) {
    if (Value) {
        HWND window = Handle();
        if (FVisible && IsWindowVisible(window))
            return;
        CallEvent(OnShow, this);
        PlaceOnFirstShow();
        FVisible = true;
        ShowWindow(window, SW_SHOW);
        if (FFormStyle == fsStayOnTop)
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        if (!FVisible)
            return;
        CallEvent(OnHide, this);
        FVisible = false;
        if (HandleAllocated())
            ShowWindow(Handle(), SW_HIDE);
    }
}

void TForm::BringToFront() {
    if (!HandleAllocated() || !FVisible)
        return;
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(Handle());
}

void TForm::PlaceOnFirstShow() {
    if (FPlaced)
        return;
    FPlaced = true;
    RECT area{0, 0, Screen().Width(), Screen().Height()};
    TForm* reference = nullptr;
    if (FPosition == poMainFormCenter)
        reference = Application().MainForm();
    else if (FPosition == poOwnerFormCenter)
        reference = dynamic_cast<TForm*>(Owner());
    if (reference == this)
        reference = nullptr;
    if (FPosition == poDesigned ||
        ((FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) && !reference))
        return;
    if (reference)
        area = reference->BoundsRect();
    SetBounds(area.left + (area.right - area.left - Width()) / 2,
              area.top + (area.bottom - area.top - Height()) / 2, Width(), Height());
}

TModalResult TForm::ShowModal() {
    if (FModal || FVisible)
        throw std::runtime_error("Cannot make a visible window modal");
    if (GetCapture())
        ReleaseCapture();
    HWND window = Handle();
    HWND previous = GetActiveWindow();
    bool terminatedBefore = Application().Terminated();
    TCloseAction action = caHide;
    FModal = true;
    FModalResult = mrNone;
    {
        TModalScope scope(window);
        // Owned by the window it interrupts, so it stays above it.
        if (previous && previous != window)
            SetWindowLongPtrA(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(previous));
        Show();
        while (true) {
            Application().HandleMessage();
            if (Application().Terminated() && !terminatedBefore) {
                FModalResult = mrCancel;
                break;
            }
            if (FModalResult == mrNone && !FVisible)
                FModalResult = mrCancel;
            if (FModalResult == mrNone)
                continue;
            // The result stands only when the close is allowed.
            action = caHide;
            if (CloseQuery())
                CallEvent(OnClose, this, action);
            else
                action = caNone;
            if (action != caNone)
                break;
            FModalResult = mrNone;
        }
    }
    FModal = false;
    SetVisible(false);
    SetWindowLongPtrA(window, GWLP_HWNDPARENT, 0);
    if (previous && previous != window && IsWindow(previous))
        SetActiveWindow(previous);
    TModalResult result = FModalResult;
    if (action == caFree)
        Release();
    return result;
}

bool TForm::CloseQuery() {
    bool canClose = true;
    CallEvent(OnCloseQuery, this, canClose);
    return canClose;
}

void TForm::Close() {
    if (FClosing)
        return;
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    FClosing = true;
    TCloseAction action = caHide;
    try {
        if (CloseQuery())
            CallEvent(OnClose, this, action);
        else
            action = caNone;
    } catch (...) {
        FClosing = false;
        throw;
    }
    FClosing = false;
    if (action == caNone)
        return;
    if (Application().MainForm() == this) {
        Application().Terminate();
        if (action == caFree)
            Release();
        else
            SetVisible(false);
        return;
    }
    switch (action) {
    case caMinimize:
        ShowWindow(Handle(), SW_MINIMIZE);
        break;
    case caFree:
        Release();
        break;
    default:
        SetVisible(false);
        break;
    }
}

void TForm::Release() {
    Application().ReleaseComponent(this);
}

void TForm::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CLOSE:
        Close();
        Message.Result = 0;
        return;
    case WM_ACTIVATE:
        if (LOWORD(Message.WParam) != WA_INACTIVE) {
            Screen().MoveFormToFront(this);
            CallEvent(OnActivate, this);
        } else {
            CallEvent(OnDeactivate, this);
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

bool TForm::HandleKeyMessage(MSG& Msg) {
    WORD key = static_cast<WORD>(Msg.wParam);
    TShiftState shift = KeyboardShiftState();
    if (HIWORD(Msg.lParam) & KF_ALTDOWN)
        shift |= ssAlt;
    if (FKeyPreview && OnKeyDown && Msg.hwnd != Handle()) {
        CallEvent(OnKeyDown, this, key, shift);
        if (key == 0)
            return true;
    }
    if (Active()) {
        TShortCut shortCut = ShortCut(key, shift);
        for (TWinControl* control = ControlOfWindow(Msg.hwnd); control; control = control->Parent())
            if (control->PopupMenu() && control->PopupMenu()->IsShortCut(shortCut))
                return true;
        if (FMenu && FMenu->IsShortCut(shortCut))
            return true;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB) && !(shift & (ssAlt | ssCtrl)))
        return DialogKey(key, (shift & ssShift) != 0);
    return false;
}

bool TForm::DialogKey(WORD Key, bool Backwards) {
    if (Key == VK_TAB) {
        // Tab and Shift+Tab move the focus through the controls that take it.
        HWND next = GetNextDlgTabItem(Handle(), GetFocus(), Backwards);
        if (!next)
            return false;
        ::SetFocus(next);
        return true;
    }
    TButton* button = nullptr;
    if (Key == VK_RETURN) {
        button = dynamic_cast<TButton*>(TWinControl::FromHandle(GetFocus()));
        if (!button || GetParentForm(button) != this)
            button = FindButton(this, false);
    } else {
        button = FindButton(this, true);
    }
    if (!button)
        return false;
    button->Click();
    return true;
}

} // namespace vireon
