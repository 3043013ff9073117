// The About window: borderless, drawn by the skin form "AboutDlg", with the product site as a link
// that lights up under the mouse. It closes when it loses the focus or is clicked, and frees itself.
#pragma once

#include "forms/TForm.h"
#include "skin/SkinInterfaces.h"

namespace vireon {

class TAboutDlg : public TForm {
public:
    static constexpr int kClientWidth = 348;
    static constexpr int kClientHeight = 211;

    TAboutDlg(TComponent* AOwner, skin::ISkin* Skin);
    ~TAboutDlg() override;

    // The skin's mouse events, as the main window hands them to the current About window.
    void SkinMouseIn(skin::ISkinObject* Source);
    void SkinMouseOut(skin::ISkinObject* Source);
    void SkinMouseDown(skin::ISkinObject* Source);

    skin::ISkinVisual* Site() const { return FSite.Get(); }
    skin::ISkinVisual* SiteHover() const { return FSiteHover.Get(); }

protected:
    void BeforeDestruction() override;

private:
    void FormClose(TObject* Sender, TCloseAction& Action);

    Microsoft::WRL::ComPtr<skin::ISkinVisual> FSite;
    Microsoft::WRL::ComPtr<skin::ISkinVisual> FSiteHover;
};

// The About window shown last, nil once it has closed.
extern TAboutDlg* AboutDlg;

// "About": a new About window becomes the current one and shows without waiting.
TAboutDlg* ShowAbout(skin::ISkin* Skin);

} // namespace vireon
