// The message dialog: a dialog built for each message, with an icon for the message type, the chosen
// buttons and, on request, a check box against showing the message again.
#pragma once

#include "forms/TForm.h"
#include "common/Seam.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace vireon {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons in the order the dialog shows them.
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};

class TMsgDlgButtons {
public:
    TMsgDlgButtons() = default;
    TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn button : buttons)
            FBits |= 1u << button;
    }
    bool Contains(TMsgDlgBtn button) const { return FBits & (1u << button); }
    bool Empty() const { return FBits == 0; }

private:
    unsigned FBits = 0;
};

// Modal results beyond the framework's (which equal the platform's IDOK..IDNO).
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// Control identifiers inside the dialog, for whoever inspects it through the seam below. Each
// button's identifier is its modal result; Help has its own.
inline constexpr int kMsgDlgTextId = 100;
inline constexpr int kMsgDlgIconId = 101;
inline constexpr int kMsgDlgCheckBoxId = 102;
inline constexpr int kMsgDlgHelpId = 103;

inline constexpr char kDontShowAgainCaption[] = "Don't dispaly this message in the future.";

// The two process-wide switches: a caller that wants the choice sets OfferDontShowAgain before the
// call and reads ShowAgain after it. Every call turns the offer off again.
inline bool OfferDontShowAgain = false;
inline bool ShowAgain = true;

// Shows Text modally and answers the modal result of the button chosen. An empty button set shows OK,
// so that the dialog can always be closed.
TModalResult ShowMessageEx(const std::string& Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons);

// The modal wait on the user goes through this seam. When it is filled, it receives the finished
// dialog (not yet shown) instead and answers the modal result; it may set the check box first.
using TMessageDialogSeam = TSeam<TModalResult(HWND Dialog)>;
TMessageDialogSeam& MessageDialogSeam();

} // namespace vireon
