// The dialog behind ShowMessageEx: laid out in dialog units of its own font, run modally, destroyed
// when the call ends.
#pragma once

#include "common/Win32Handles.h"
#include "util/Msg.h"

#include <string>
#include <vector>

namespace vireon {

class TMessageDialog {
public:
    TMessageDialog(std::string Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons, bool OfferCheckBox);
    TMessageDialog(const TMessageDialog&) = delete;
    TMessageDialog& operator=(const TMessageDialog&) = delete;

    // Runs the dialog; Seam, when set, answers instead of the user.
    TModalResult ShowModal(HWND Owner, const TMessageDialogSeam& Seam);
    bool Checked() const { return FChecked; }

private:
    struct TButtonEntry {
        TMsgDlgBtn Button;
        const char* Caption;
        int Id;
    };
    struct TMeasures {
        int CharWidth = 0;
        int CharHeight = 0;
        int X(int DialogUnits) const { return MulDiv(DialogUnits, CharWidth, 4); }
        int Y(int DialogUnits) const { return MulDiv(DialogUnits, CharHeight, 8); }
    };

    static INT_PTR CALLBACK DialogProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
    BOOL Initialize(HWND Window);
    void Command(int Id);
    void Finish(TModalResult Result);
    TMeasures Measure(HDC Dc) const;
    void PlaceOnScreen(int ClientWidth, int ClientHeight);
    void PaintText(const DRAWITEMSTRUCT& Item) const;
    RECT AddCheckBox(HDC Dc, int Left, int Top, const TMeasures& Du);
    int ButtonRowWidth(const TMeasures& Du) const;
    HWND AddButtons(int Left, int Top, const TMeasures& Du);
    HWND AddControl(const char* Class, const std::string& Text, DWORD Style, const RECT& Bounds, int Id);

    std::string FText;
    TMsgDlgType FDlgType;
    std::vector<TButtonEntry> FButtons;
    bool FOfferCheckBox;
    int FDefaultId = 0;
    TModalResult FCancelResult = mrNone;
    bool FChecked = false;
    HWND FWindow = nullptr;
    int FTextWidth = 0;
    UniqueFont FFont;
    const TMessageDialogSeam* FSeam = nullptr;
};

} // namespace vireon
