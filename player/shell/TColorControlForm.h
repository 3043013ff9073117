// The colour window: four track bars and a check box over the video window's colour controls, with
// a return to the hardware's values. One window serves every "Color control" command: it hides
// when it loses the focus and shows again, centred over the video, with the values then in effect.
#pragma once

#include "engine/TVideoWindow.h"
#include "forms/TCheckBox.h"
#include "forms/TForm.h"
#include "forms/TLabel.h"
#include "forms/TShape.h"
#include "forms/TSpeedButton.h"
#include "forms/TTrackBar.h"

namespace vireon {

class TColorControlForm : public TForm {
public:
    static constexpr int kClientWidth = 166;
    static constexpr int kClientHeight = 226;
    // Red 148, green 204, blue 229.
    static constexpr TColor kTextColor = 15060116;
    // The face shown where no overlay colour key exists.
    static constexpr TColor kPlainFace = 0x201A18;

    TColorControlForm(TComponent* AOwner, TVideoWindow* Video);
    ~TColorControlForm() override;

    TShape* Shape1 = nullptr;
    TTrackBar* TrackBar1 = nullptr; // brightness
    TTrackBar* TrackBar2 = nullptr; // contrast
    TTrackBar* TrackBar3 = nullptr; // hue
    TTrackBar* TrackBar4 = nullptr; // saturation
    TCheckBox* CheckBox1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;

    // The track bars and the check box take the colour control's values.
    void GetValues();

    void FormShow(TObject* Sender);
    void FormDeactivate(TObject* Sender);
    void TrackBarChange(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);

private:
    TTrackBar* AddTrackBar(const char* Name, const char* Caption, int Top, int Min, int Max, int Frequency,
                           int Position);

    TVideoWindow* FVideo;
    // Set while GetValues fills the controls, so that what was read is not written straight back.
    bool FReading = false;
};

// The program's colour window, nil until the first "Color control" command.
extern TColorControlForm* ColorControlForm;

// "Color control": makes the window on first use (owned by the application), then shows it.
TColorControlForm* ShowColorControl(TVideoWindow* Video);

} // namespace vireon
