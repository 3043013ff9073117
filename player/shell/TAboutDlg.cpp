#include "shell/TAboutDlg.h"

#include "shell/ProductInfo.h"

#include "forms/TApplication.h"
#include "forms/TScreen.h"
#include "util/ShellOpen.h"

namespace vireon {

TAboutDlg* AboutDlg = nullptr;

namespace {

bool NameIs(skin::ISkinObject* Source, const wchar_t* Name) {
    return Source && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, Source->GetName().c_str(), -1, Name,
                                    -1) == CSTR_EQUAL;
}

Microsoft::WRL::ComPtr<skin::ISkinVisual> FindVisual(skin::ISkinForm* Form, const wchar_t* Name) {
    Microsoft::WRL::ComPtr<skin::ISkinVisual> visual;
    if (Microsoft::WRL::ComPtr<skin::ISkinObject> found = Form->FindObject(Name))
        found.As(&visual);
    return visual;
}

} // namespace

TAboutDlg::TAboutDlg(TComponent* AOwner, skin::ISkin* Skin) : TForm(AOwner) {
    SetName("AboutDlg");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientSize(kClientWidth, kClientHeight);
    Skin->ApplySkinForm(Handle(), L"AboutDlg");
    Microsoft::WRL::ComPtr<skin::ISkinForm> form = Skin->GetSkinForm(Handle());
    FSite = FindVisual(form.Get(), L"Site");
    FSiteHover = FindVisual(form.Get(), L"Site_h");
    OnDeactivate = [this](TObject*) { Close(); };
    OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Close(); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TAboutDlg::~TAboutDlg() {
    if (AboutDlg == this)
        AboutDlg = nullptr;
}

void TAboutDlg::BeforeDestruction() {
    // Destroying the active window deactivates it: that must not close it a second time.
    OnDeactivate = nullptr;
    OnMouseUp = nullptr;
    TForm::BeforeDestruction();
}

void TAboutDlg::FormClose(TObject*, TCloseAction& Action) {
    Action = caFree;
    if (AboutDlg == this)
        AboutDlg = nullptr;
}

void TAboutDlg::SkinMouseIn(skin::ISkinObject* Source) {
    if (!NameIs(Source, L"Site"))
        return;
    if (FSiteHover)
        FSiteHover->SetVisible(true);
    Screen().SetCursor(crHandPoint);
}

void TAboutDlg::SkinMouseOut(skin::ISkinObject* Source) {
    if (!NameIs(Source, L"Site_h"))
        return;
    if (FSiteHover)
        FSiteHover->SetVisible(false);
    Screen().SetCursor(crDefault);
}

void TAboutDlg::SkinMouseDown(skin::ISkinObject* Source) {
    if (NameIs(Source, L"Site_h"))
        ShellOpen(kProductWebSite, "", "", SW_SHOW);
}

TAboutDlg* ShowAbout(skin::ISkin* Skin) {
    AboutDlg = new TAboutDlg(&Application(), Skin);
    AboutDlg->Show();
    return AboutDlg;
}

} // namespace vireon
