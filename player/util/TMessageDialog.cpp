#include "util/TMessageDialog.h"

#include "forms/TApplication.h"

#include <algorithm>
#include <array>

namespace vireon {

namespace {

// Dialog-unit measures of the layout.
constexpr int kHorzMargin = 8;
constexpr int kVertMargin = 8;
constexpr int kIconSpacing = 24;
constexpr int kVertSpacing = 10;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonSpacing = 12;
constexpr int kIconSize = 32;

constexpr std::array<const char*, 5> kCaptions = {"Warning", "Error", "Information", "Confirm", ""};

const char* IconOf(TMsgDlgType DlgType) {
    switch (DlgType) {
    case mtWarning:
        return IDI_WARNING;
    case mtError:
        return IDI_ERROR;
    case mtInformation:
        return IDI_INFORMATION;
    case mtConfirmation:
        return IDI_QUESTION;
    default:
        return nullptr;
    }
}

// The system's message font under the face name the dialog asks for.
UniqueFont CreateMessageFont() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA font = metrics.lfMessageFont;
    lstrcpynA(font.lfFaceName, "Arial Cyr", LF_FACESIZE);
    return UniqueFont(CreateFontIndirectA(&font));
}

// An empty dialog; the controls are added at initialisation, in pixels of the measured font.
struct alignas(4) TDialogTemplate {
    DLGTEMPLATE Header;
    WORD Menu = 0;
    WORD WindowClass = 0;
    WORD Title = 0;
};

// Text lines wrap at word boundaries, and inside a word longer than the line.
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;

} // namespace

TMessageDialog::TMessageDialog(std::string Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                               bool OfferCheckBox)
    : FText(std::move(Text)), FDlgType(DlgType), FOfferCheckBox(OfferCheckBox) {
    static constexpr TButtonEntry kAll[] = {
        {mbYes, "&Yes", mrYes},
        {mbNo, "&No", mrNo},
        {mbOK, "OK", mrOk},
        {mbCancel, "Cancel", mrCancel},
        {mbAbort, "&Abort", mrAbort},
        {mbRetry, "&Retry", mrRetry},
        {mbIgnore, "&Ignore", mrIgnore},
        {mbAll, "&All", mrAll},
        {mbNoToAll, "N&o to All", mrNoToAll},
        {mbYesToAll, "Yes to &All", mrYesToAll},
        {mbHelp, "&Help", kMsgDlgHelpId},
    };
    if (Buttons.Empty())
        Buttons = {mbOK};
    for (const TButtonEntry& entry : kAll)
        if (Buttons.Contains(entry.Button))
            FButtons.push_back(entry);
    for (TMsgDlgBtn candidate : {mbOK, mbYes, mbRetry})
        if (!FDefaultId && Buttons.Contains(candidate))
            FDefaultId = candidate == mbOK ? mrOk : candidate == mbYes ? mrYes : mrRetry;
    for (TMsgDlgBtn candidate : {mbCancel, mbNo, mbOK})
        if (!FCancelResult && Buttons.Contains(candidate))
            FCancelResult = candidate == mbCancel ? mrCancel : candidate == mbNo ? mrNo : mrOk;
}

TModalResult TMessageDialog::ShowModal(HWND Owner, const TMessageDialogSeam& Seam) {
    FSeam = &Seam;
    TDialogTemplate dialog = {};
    dialog.Header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &dialog.Header, Owner,
                                                   DialogProc, reinterpret_cast<LPARAM>(this));
    return result < 0 ? mrNone : static_cast<int>(result);
}

INT_PTR CALLBACK TMessageDialog::DialogProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TMessageDialog*>(LParam);
        SetWindowLongPtrA(Window, DWLP_USER, LParam);
        BOOL focusDefault = TRUE;
        GuardedCall([&] { focusDefault = self->Initialize(Window); });
        return focusDefault;
    }
    auto* self = reinterpret_cast<TMessageDialog*>(GetWindowLongPtrA(Window, DWLP_USER));
    if (self && Msg == WM_DRAWITEM && WParam == kMsgDlgTextId) {
        self->PaintText(*reinterpret_cast<const DRAWITEMSTRUCT*>(LParam));
        return TRUE;
    }
    if (self && Msg == WM_COMMAND && HIWORD(WParam) == BN_CLICKED) {
        GuardedCall([&] { self->Command(LOWORD(WParam)); });
        return TRUE;
    }
    return FALSE;
}

TMessageDialog::TMeasures TMessageDialog::Measure(HDC Dc) const {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size = {};
    GetTextExtentPoint32A(Dc, kLetters, 52, &size);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(Dc, &metrics);
    return {std::max<int>(1, size.cx / 52), std::max<int>(1, metrics.tmHeight)};
}

HWND TMessageDialog::AddControl(const char* Class, const std::string& Text, DWORD Style, const RECT& Bounds,
                                int Id) {
    HWND control = CreateWindowExA(0, Class, Text.c_str(), WS_CHILD | WS_VISIBLE | Style, Bounds.left,
                                   Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top,
                                   FWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), FALSE);
    return control;
}

BOOL TMessageDialog::Initialize(HWND Window) {
    FWindow = Window;
    FFont = CreateMessageFont();

    WindowDC dc(Window);
    SelectedObject selected(dc.get(), FFont.get());
    const TMeasures du = Measure(dc.get());
    const int horzMargin = du.X(kHorzMargin), vertMargin = du.Y(kVertMargin),
              vertSpacing = du.Y(kVertSpacing);

    RECT text = {0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    DrawTextA(dc.get(), FText.c_str(), -1, &text, kTextFormat | DT_CALCRECT);
    const char* icon = IconOf(FDlgType);
    const int textLeft = horzMargin + (icon ? kIconSize + du.X(kIconSpacing) : 0);
    FTextWidth = text.right;
    // Glyphs may be drawn a little wider than their measured advances (Wine draws long lines up to
    // 2% wider): the label gets room beyond the measured width, so no line end is cut off.
    text.right += text.right / 32 + du.CharWidth;
    OffsetRect(&text, textLeft, vertMargin);
    int right = text.right;
    int bottom = std::max<int>(text.bottom, icon ? vertMargin + kIconSize : 0);

    if (icon) {
        HWND image = AddControl("STATIC", "", SS_ICON,
                                {horzMargin, vertMargin, horzMargin + kIconSize, vertMargin + kIconSize},
                                kMsgDlgIconId);
        SendMessageA(image, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, icon)), 0);
    }
    // Drawn by the dialog with the flags it was measured with, so that the lines break where measured.
    AddControl("STATIC", FText, SS_OWNERDRAW, text, kMsgDlgTextId);

    if (FOfferCheckBox) {
        const RECT box = AddCheckBox(dc.get(), textLeft, bottom + vertSpacing, du);
        right = std::max<int>(right, box.right);
        bottom = box.bottom;
    }

    const int buttonsWidth = ButtonRowWidth(du);
    const int clientWidth = std::max(right + horzMargin, buttonsWidth + 2 * horzMargin);
    const int buttonTop = bottom + vertSpacing;
    HWND defaultButton = AddButtons((clientWidth - buttonsWidth) / 2, buttonTop, du);

    SetWindowTextA(Window, kCaptions[FDlgType]);
    PlaceOnScreen(clientWidth, buttonTop + du.Y(kButtonHeight) + vertMargin);
    // Without a button in the cancel role, Escape and the close box do nothing.
    if (!FCancelResult)
        EnableMenuItem(GetSystemMenu(Window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

    if (*FSeam) {
        Finish((*FSeam)(Window));
        return FALSE;
    }
    if (!defaultButton)
        return TRUE;
    SendMessageA(Window, DM_SETDEFID, FDefaultId, 0);
    SetFocus(defaultButton);
    return FALSE;
}

void TMessageDialog::PaintText(const DRAWITEMSTRUCT& Item) const {
    FillRect(Item.hDC, &Item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    // Lines break at the measured width, as they did when the dialog was laid out.
    RECT bounds = Item.rcItem;
    bounds.right = bounds.left + FTextWidth;
    SelectedObject selected(Item.hDC, FFont.get());
    SetBkMode(Item.hDC, TRANSPARENT);
    SetTextColor(Item.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(Item.hDC, FText.c_str(), -1, &bounds, kTextFormat | DT_NOCLIP);
}

// The check box under the text, sized to its caption.
RECT TMessageDialog::AddCheckBox(HDC Dc, int Left, int Top, const TMeasures& Du) {
    SIZE caption = {};
    GetTextExtentPoint32A(Dc, kDontShowAgainCaption, lstrlenA(kDontShowAgainCaption), &caption);
    const int width = caption.cx + GetSystemMetrics(SM_CXMENUCHECK) + Du.X(4);
    const int height = std::max<int>(caption.cy, GetSystemMetrics(SM_CYMENUCHECK)) + 2;
    const RECT box = {Left, Top, Left + width, Top + height};
    AddControl("BUTTON", kDontShowAgainCaption, BS_AUTOCHECKBOX | WS_TABSTOP, box, kMsgDlgCheckBoxId);
    return box;
}

int TMessageDialog::ButtonRowWidth(const TMeasures& Du) const {
    const int count = static_cast<int>(FButtons.size());
    return count * Du.X(kButtonWidth) + (count - 1) * Du.X(kButtonSpacing);
}

// One row of buttons from Left; answers the default button, if any.
HWND TMessageDialog::AddButtons(int Left, int Top, const TMeasures& Du) {
    const int width = Du.X(kButtonWidth), height = Du.Y(kButtonHeight);
    HWND defaultButton = nullptr;
    DWORD group = WS_GROUP;
    for (const TButtonEntry& entry : FButtons) {
        const bool isDefault = entry.Id == FDefaultId;
        const DWORD style = WS_TABSTOP | group | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND button =
            AddControl("BUTTON", entry.Caption, style, {Left, Top, Left + width, Top + height}, entry.Id);
        if (isDefault)
            defaultButton = button;
        Left += width + Du.X(kButtonSpacing);
        group = 0;
    }
    return defaultButton;
}

void TMessageDialog::PlaceOnScreen(int ClientWidth, int ClientHeight) {
    RECT bounds = {0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&bounds, GetWindowLongA(FWindow, GWL_STYLE), FALSE,
                       GetWindowLongA(FWindow, GWL_EXSTYLE));
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    SetWindowPos(FWindow, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMessageDialog::Command(int Id) {
    if (Id == IDCANCEL) {
        // Escape and the close box answer for the cancel button, which may be No or OK.
        if (FCancelResult)
            Finish(FCancelResult);
        return;
    }
    for (const TButtonEntry& entry : FButtons)
        if (entry.Id == Id && Id != kMsgDlgHelpId)
            Finish(Id);
}

void TMessageDialog::Finish(TModalResult Result) {
    FChecked = IsDlgButtonChecked(FWindow, kMsgDlgCheckBoxId) == BST_CHECKED;
    EndDialog(FWindow, Result);
}

} // namespace vireon
