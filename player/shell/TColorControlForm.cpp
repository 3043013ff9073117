#include "shell/TColorControlForm.h"

#include "forms/TApplication.h"

namespace vireon {

TColorControlForm* ColorControlForm = nullptr;

namespace {

constexpr int kMargin = 8;
constexpr int kControlWidth = 150;
constexpr int kLabelHeight = 14;
constexpr int kTrackHeight = 26;
constexpr int kRowHeight = kLabelHeight + kTrackHeight;

} // namespace

TColorControlForm::TColorControlForm(TComponent* AOwner, TVideoWindow* Video) : TForm(AOwner), FVideo(Video) {
    SetName("ColorControlForm");
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetClientSize(kClientWidth, kClientHeight);
    Font().SetColor(kTextColor);

    Shape1 = new TShape(this);
    Shape1->SetName("Shape1");
    Shape1->SetShape(stRoundRect);
    Shape1->SetAlign(alClient);
    Shape1->SetPen({kTextColor, 3});
    Shape1->SetParent(this);

    TrackBar1 = AddTrackBar("TrackBar1", "Brightness", kMargin + 2, 0, 10000, 1000, 750);
    TrackBar2 = AddTrackBar("TrackBar2", "Contrast", kMargin + 2 + kRowHeight, 0, 20000, 2000, 10000);
    TrackBar3 = AddTrackBar("TrackBar3", "Hue", kMargin + 2 + 2 * kRowHeight, -180, 180, 36, 0);
    TrackBar4 = AddTrackBar("TrackBar4", "Saturation", kMargin + 2 + 3 * kRowHeight, 0, 20000, 2000, 10000);

    const int below = kMargin + 2 + 4 * kRowHeight + 4;
    CheckBox1 = new TCheckBox(this);
    CheckBox1->SetName("CheckBox1");
    CheckBox1->SetCaption("Utilized colors");
    CheckBox1->SetBounds(kMargin, below, kControlWidth, 17);
    CheckBox1->Font().SetColor(kTextColor);
    CheckBox1->SetChecked(true);
    CheckBox1->OnClick = [this](TObject* Sender) { CheckBox1Click(Sender); };
    CheckBox1->SetParent(this);

    SpeedButton1 =
        new TSpeedButton(this, {.Parent = this,
                                .Name = "SpeedButton1",
                                .Caption = "Reset to Default",
                                .Bounds = {kMargin, below + 22, kMargin + kControlWidth, below + 44},
                                .OnClick = [this](TObject* Sender) { SpeedButton1Click(Sender); }});
    SpeedButton1->SetFlat(true);
    SpeedButton1->Font().SetColor(kTextColor);

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnDeactivate = [this](TObject* Sender) { FormDeactivate(Sender); };
}

TColorControlForm::~TColorControlForm() {
    if (ColorControlForm == this)
        ColorControlForm = nullptr;
}

TTrackBar* TColorControlForm::AddTrackBar(const char* Name, const char* Caption, int Top, int Min, int Max,
                                          int Frequency, int Position) {
    auto* label =
        new TLabel(this, {.Parent = this,
                          .Caption = Caption,
                          // Indented, clear of the frame's rounded corner.
                          .Bounds = {kMargin + 4, Top, kMargin + kControlWidth, Top + kLabelHeight}});
    label->Font().SetColor(kTextColor);
    auto* bar = new TTrackBar(this);
    bar->SetName(Name);
    bar->SetBounds(kMargin, Top + kLabelHeight, kControlWidth, kTrackHeight);
    bar->SetRange(Min, Max);
    bar->SetFrequency(Frequency);
    bar->SetThumbLength(10);
    bar->SetTickMarks(tmBottomRight);
    bar->SetPosition(Position);
    bar->OnChange = [this](TObject* Sender) { TrackBarChange(Sender); };
    bar->SetParent(this);
    return bar;
}

void TColorControlForm::FormShow(TObject*) {
    // Over an overlay the key colour lets the picture show through; without one, a plain face.
    const COLORREF key = FVideo->OverlayColorKey();
    const TColor face = key == COLORREF(clNone) ? kPlainFace : TColor(key);
    SetColor(face);
    Shape1->SetBrush({face, bsSolid});
    // The frame lies under the controls.
    SetWindowPos(Shape1->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const POINT origin = FVideo->ClientOrigin();
    SetBounds(origin.x + FVideo->Width() / 2 - Width() / 2, origin.y + FVideo->Height() / 2 - Height() / 2,
              Width(), Height());
    GetValues();
}

void TColorControlForm::GetValues() {
    TColorControl& colors = *FVideo->ColorControl();
    FReading = true;
    try {
        // A value the hardware reports outside a bar's range is shown at the bar's nearest end.
        CheckBox1->SetChecked(colors.ColorEnable());
        TrackBar4->SetPosition(colors.Saturation());
        TrackBar3->SetPosition(colors.Hue());
        TrackBar2->SetPosition(colors.Contrast());
        TrackBar1->SetPosition(colors.Brightness());
    } catch (...) {
        FReading = false;
        throw;
    }
    FReading = false;
}

void TColorControlForm::FormDeactivate(TObject*) {
    Hide();
}

void TColorControlForm::TrackBarChange(TObject* Sender) {
    if (FReading)
        return;
    TColorControl& colors = *FVideo->ColorControl();
    auto* bar = static_cast<TTrackBar*>(Sender);
    if (bar == TrackBar1)
        colors.SetBrightness(bar->Position());
    else if (bar == TrackBar2)
        colors.SetContrast(bar->Position());
    else if (bar == TrackBar3)
        colors.SetHue(bar->Position());
    else if (bar == TrackBar4)
        colors.SetSaturation(bar->Position());
}

void TColorControlForm::CheckBox1Click(TObject*) {
    if (!FReading)
        FVideo->ColorControl()->SetColorEnable(CheckBox1->Checked());
}

void TColorControlForm::SpeedButton1Click(TObject*) {
    FVideo->ColorControl()->RestoreDefaults();
    GetValues();
}

TColorControlForm* ShowColorControl(TVideoWindow* Video) {
    if (!ColorControlForm)
        ColorControlForm = new TColorControlForm(&Application(), Video);
    else if (ColorControlForm->Visible())
        ColorControlForm->FormShow(ColorControlForm); // shown still: centred and read again all the same
    ColorControlForm->Show();
    return ColorControlForm;
}

} // namespace vireon
