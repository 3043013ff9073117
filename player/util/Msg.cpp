#include "util/Msg.h"

#include "forms/TApplication.h"
#include "util/TMessageDialog.h"

namespace vireon {

TMessageDialogSeam& MessageDialogSeam() {
    static TMessageDialogSeam seam;
    return seam;
}

TModalResult ShowMessageEx(const std::string& Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    const bool offered = OfferDontShowAgain;
    // The offer holds for one call, whatever happens in it.
    OfferDontShowAgain = false;
    TMessageDialog dialog(Text, DlgType, Buttons, offered);
    const TMessageDialogSeam seam = MessageDialogSeam();
    // A top-most window of ours would hide the dialog.
    Application().NormalizeTopMosts();
    const int result = dialog.ShowModal(GetActiveWindow(), seam);
    Application().RestoreTopMosts();
    if (offered)
        ShowAgain = !dialog.Checked();
    return result;
}

} // namespace vireon
