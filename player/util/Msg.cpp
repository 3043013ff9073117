#include "util/Msg.h"

#include "forms/TApplication.h"
#include "util/TMessageDialog.h"

namespace vireon {

namespace {

TMessageDialogSeam& InstalledSeam() {
    static TMessageDialogSeam seam;
    return seam;
}

} // namespace

TMessageDialogSeam SetMessageDialogSeam(TMessageDialogSeam Seam) {
    TMessageDialogSeam previous = std::move(InstalledSeam());
    InstalledSeam() = std::move(Seam);
    return previous;
}

TModalResult ShowMessageEx(const std::string& Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    const bool offered = OfferDontShowAgain;
    // The offer holds for one call, whatever happens in it.
    OfferDontShowAgain = false;
    TMessageDialog dialog(Text, DlgType, Buttons, offered);
    const TMessageDialogSeam seam = InstalledSeam();
    // A top-most window of ours would hide the dialog.
    Application().NormalizeTopMosts();
    const int result = dialog.ShowModal(GetActiveWindow(), seam);
    Application().RestoreTopMosts();
    if (offered)
        ShowAgain = !dialog.Checked();
    return result;
}

} // namespace vireon
