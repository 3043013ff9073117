// Forms: top-level windows with a caption, border style, main menu, modal showing and closing with a
// close query and a close action.
#pragma once

#include "forms/TWinControl.h"

namespace vireon {

class TMainMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;

using TCloseEvent = TEvent<TObject* /*Sender*/, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject* /*Sender*/, bool& /*CanClose*/>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner = nullptr);
    ~TForm() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    // The form sees key messages of its controls first (OnKeyDown) and may swallow them (Key := 0).
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool Modal() const { return FModal; }
    bool Active() const;

    void Show();
    void SetVisible(bool Value) override;
    // Shows the form, disables the application's other windows and processes messages until a
    // modal result is set (a button with a modal result, Close, Escape on a cancel button).
    TModalResult ShowModal();
    // Asks OnCloseQuery, then runs OnClose and its close action. A Close while a close is already
    // running is ignored.
    void Close();
    // Frees the form once the current message has been handled.
    void Release();
    void BringToFront();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Run by TApplication::CreateForm once the form is constructed.
    virtual void DoCreate() { CallEvent(OnCreate, this); }
    virtual bool CloseQuery();

    // Keyboard handling of a queued key message for the form that contains its window: key preview,
    // shortcuts of popup menus and the main menu (while the form is active), dialog keys.
    bool HandleKeyMessage(MSG& Msg);

protected:
    // OnDestroy, then the window and the components, while the derived form is whole.
    void BeforeDestruction() override;
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool DialogKey(WORD Key, bool Backwards);

private:
    void LeaveMenuWithWindow();
    void ApplyStyles();
    void PlaceOnFirstShow();
    bool RunCloseAction();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    TMainMenu* FMenu = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FClosing = false;
    bool FPlaced = false;
};

// The form whose window holds the control, nullptr when none.
TForm* GetParentForm(TControl* Control);

} // namespace vireon
