#include "engine/TColorControl.h"

#include "engine/TFilterGraph.h"
#include "engine/TFilterList.h"
#include "engine/TPinList.h"
#include "engine/TVideoWindow.h"

#include <cstdio>
#include <stdexcept>
#include <string>

using Microsoft::WRL::ComPtr;

namespace vireon {
namespace {

constexpr DWORD kAllColorFlags = DDCOLOR_BRIGHTNESS | DDCOLOR_CONTRAST | DDCOLOR_HUE | DDCOLOR_SATURATION |
                                 DDCOLOR_SHARPNESS | DDCOLOR_GAMMA | DDCOLOR_COLORENABLE;

std::string RangeMessage(int Value, const char* Range) {
    char text[128];
    std::snprintf(text, sizeof(text), "Value %d out of range. Value must bee between %s", Value, Range);
    return text;
}

} // namespace

TColorControl::TColorControl(TVideoWindow* AOwner) : FOwner(AOwner) {
    FDevice.dwSize = sizeof(DDCOLORCONTROL);
    FDevice.dwFlags = kAllColorFlags;
    FDevice.lBrightness = FBrightness;
    FDevice.lContrast = FContrast;
    FDevice.lHue = FHue;
    FDevice.lSaturation = FSaturation;
    FDevice.lSharpness = FSharpness;
    FDevice.lGamma = FGamma;
    FDevice.lColorEnable = 1;
}

bool TColorControl::Live() const {
    TFilterGraph* graph = FOwner->FilterGraph();
    return graph && graph->Active();
}

ComPtr<IMixerPinConfig2> TColorControl::ColorPin() const {
    ComPtr<IMixerPinConfig2> config;
    ComPtr<IFilterGraph> graph;
    if (!Live() || FAILED(FOwner->FilterGraph()->QueryInterface(graph)))
        return config;
    TFilterList filters(graph.Get());
    IBaseFilter* mixer = nullptr;
    for (int i = 0; i < filters.Count(); ++i) {
        CLSID classId = GUID_NULL;
        if (SUCCEEDED(filters.GetFilter(i)->GetClassID(&classId)) && IsOverlayMixerClass(classId))
            mixer = filters.GetFilter(i);
    }
    if (!mixer)
        return config;
    TPinList pins(mixer);
    for (int i = 0; i < pins.Count(); ++i) {
        PIN_DIRECTION direction = PINDIR_OUTPUT;
        if (FAILED(pins.GetPin(i)->QueryDirection(&direction)))
            return config;
        if (direction != PINDIR_INPUT)
            continue;
        if (FAILED(pins.GetPin(i)->QueryInterface(__uuidof(IMixerPinConfig2),
                                                  reinterpret_cast<void**>(config.ReleaseAndGetAddressOf()))))
            config.Reset();
        // The first input pin decides: one without the interface ends the search.
        return config;
    }
    return config;
}

void TColorControl::ReadDeviceDefaults() {
    ComPtr<IMixerPinConfig2> pin = ColorPin();
    if (!pin)
        return;
    DDCOLORCONTROL record{};
    record.dwSize = sizeof(record);
    if (SUCCEEDED(pin->GetOverlaySurfaceColorControls(&record)))
        FDevice = record;
}

void TColorControl::ApplyColorControls() {
    ComPtr<IMixerPinConfig2> pin = ColorPin();
    if (!pin)
        return;
    DDCOLORCONTROL record{};
    record.dwSize = sizeof(record);
    record.dwFlags = kAllColorFlags;
    record.lBrightness = FBrightness;
    record.lContrast = FContrast;
    record.lHue = FHue;
    record.lSaturation = FSaturation;
    record.lSharpness = FSharpness;
    record.lGamma = FGamma;
    record.lColorEnable = FColorEnable ? 1 : 0;
    pin->SetOverlaySurfaceColorControls(&record);
}

void TColorControl::ReadColorControls() {
    ComPtr<IMixerPinConfig2> pin = ColorPin();
    if (!pin)
        return;
    DDCOLORCONTROL record{};
    record.dwSize = sizeof(record);
    if (FAILED(pin->GetOverlaySurfaceColorControls(&record))) {
        ResetValues();
        return;
    }
    FBrightness = record.lBrightness;
    FContrast = record.lContrast;
    FHue = record.lHue;
    FSaturation = record.lSaturation;
    FSharpness = record.lSharpness;
    FGamma = record.lGamma;
    FColorEnable = record.lColorEnable != 0;
}

void TColorControl::ResetValues() {
    FBrightness = 750;
    FContrast = 10000;
    FHue = 0;
    FSaturation = 10000;
    FSharpness = 5;
    FGamma = 1;
    FColorEnable = true;
}

void TColorControl::RestoreDefaults() {
    FBrightness = FDevice.lBrightness;
    FContrast = FDevice.lContrast;
    FHue = FDevice.lHue;
    FSaturation = FDevice.lSaturation;
    FSharpness = FDevice.lSharpness;
    FGamma = FDevice.lGamma;
    FColorEnable = FDevice.lColorEnable != 0;
    if (Live())
        ApplyColorControls();
}

void TColorControl::SetValue(long& Field, int Value, int Low, int High, const char* Range) {
    if (Value < Low || Value > High)
        throw std::out_of_range(RangeMessage(Value, Range));
    Field = Value;
    if (Live())
        ApplyColorControls();
}

int TColorControl::Brightness() {
    if (Live())
        ReadColorControls();
    return FBrightness;
}
void TColorControl::SetBrightness(int Value) {
    SetValue(FBrightness, Value, 0, 10000, "0 -> 10.000");
}
int TColorControl::Contrast() {
    if (Live())
        ReadColorControls();
    return FContrast;
}
void TColorControl::SetContrast(int Value) {
    SetValue(FContrast, Value, 0, 20000, "0 -> 20.000");
}
int TColorControl::Hue() {
    if (Live())
        ReadColorControls();
    return FHue;
}
void TColorControl::SetHue(int Value) {
    SetValue(FHue, Value, -180, 180, "-180 -> 180");
}
int TColorControl::Saturation() {
    if (Live())
        ReadColorControls();
    return FSaturation;
}
void TColorControl::SetSaturation(int Value) {
    SetValue(FSaturation, Value, 0, 20000, "0 -> 20.000");
}
int TColorControl::Sharpness() {
    if (Live())
        ReadColorControls();
    return FSharpness;
}
void TColorControl::SetSharpness(int Value) {
    SetValue(FSharpness, Value, 0, 10, "0 -> 10");
}
int TColorControl::Gamma() {
    if (Live())
        ReadColorControls();
    return FGamma;
}
void TColorControl::SetGamma(int Value) {
    SetValue(FGamma, Value, 1, 500, "1 -> 500");
}
bool TColorControl::ColorEnable() {
    if (Live())
        ReadColorControls();
    return FColorEnable;
}
void TColorControl::SetColorEnable(bool Value) {
    FColorEnable = Value;
    if (Live())
        ApplyColorControls();
}

bool TVideoWindowCaps::CanOverlayGraphic() const {
    return FOwner->HasOverlayMixer();
}

bool TVideoWindowCaps::Flag(DWORD Bit) const {
    const TColorControl* colors = FOwner->ColorControl();
    return colors && (colors->DeviceRecord().dwFlags & Bit) != 0;
}

} // namespace vireon
