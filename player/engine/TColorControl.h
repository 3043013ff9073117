// The picture adjustments of a video window, carried to the display hardware through the Overlay
// Mixer's colour pin; without a mixer the values are only stored. And the window's capability
// answers.
#pragma once

#include "engine/OverlayInterfaces.h"

#include <wrl/client.h>

namespace vireon {

class TVideoWindow;

class TColorControl {
public:
    explicit TColorControl(TVideoWindow* AOwner);

    // Getters read the hardware first while the window's graph is active; setters check the range
    // (an exception naming the value and the range, the old value kept), store, and apply.
    int Brightness();
    void SetBrightness(int Value);
    int Contrast();
    void SetContrast(int Value);
    int Hue();
    void SetHue(int Value);
    int Saturation();
    void SetSaturation(int Value);
    int Sharpness();
    void SetSharpness(int Value);
    int Gamma();
    void SetGamma(int Value);
    bool ColorEnable();
    void SetColorEnable(bool Value);

    // The hardware's record (flags = supported adjustments) replaces the device record.
    void ReadDeviceDefaults();
    void ApplyColorControls();
    // The hardware's current values become the stored ones; a failed read resets the defaults.
    void ReadColorControls();
    // Back to the device record's values, sent to the hardware.
    void RestoreDefaults();

    const DDCOLORCONTROL& DeviceRecord() const { return FDevice; }

private:
    // The mixer's first input pin that offers the colour controls; empty when none.
    Microsoft::WRL::ComPtr<IMixerPinConfig2> ColorPin() const;
    bool Live() const;
    void SetValue(long& Field, int Value, int Low, int High, const char* Range);
    void ResetValues();

    TVideoWindow* FOwner;
    DDCOLORCONTROL FDevice{};
    long FBrightness = 750;
    long FContrast = 10000;
    long FHue = 0;
    long FSaturation = 10000;
    long FSharpness = 5;
    long FGamma = 1;
    bool FColorEnable = true;
};

// Which adjustments the hardware offers, and whether the overlay path exists.
class TVideoWindowCaps {
public:
    explicit TVideoWindowCaps(TVideoWindow* AOwner) : FOwner(AOwner) {}

    bool CanOverlayGraphic() const;
    bool CanControlBrigtness() const { return Flag(DDCOLOR_BRIGHTNESS); }
    bool CanControlContrast() const { return Flag(DDCOLOR_CONTRAST); }
    bool CanControlHue() const { return Flag(DDCOLOR_HUE); }
    bool CanControlSaturation() const { return Flag(DDCOLOR_SATURATION); }
    bool CanControlSharpness() const { return Flag(DDCOLOR_SHARPNESS); }
    bool CanControlGamma() const { return Flag(DDCOLOR_GAMMA); }
    bool CanControlColorEnabled() const { return Flag(DDCOLOR_COLORENABLE); }

private:
    bool Flag(DWORD Bit) const;
    TVideoWindow* FOwner;
};

} // namespace vireon
