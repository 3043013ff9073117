#include "fakes/FakeOverlay.h"

#include <string>

namespace fakes {

FakeMixerPinConfig::FakeMixerPinConfig(std::string name) : Fake(std::move(name)) {
    device.dwSize = sizeof(DDCOLORCONTROL);
    device.dwFlags = DDCOLOR_BRIGHTNESS | DDCOLOR_CONTRAST | DDCOLOR_HUE;
    device.lBrightness = 600;
    device.lContrast = 9000;
    device.lHue = 12;
    device.lSaturation = 8000;
    device.lSharpness = 3;
    device.lGamma = 2;
    device.lColorEnable = 1;
}

STDMETHODIMP FakeMixerPinConfig::GetColorKey(COLORKEY* key, DWORD* color) {
    if (!key)
        return E_POINTER;
    if (SUCCEEDED(colorKeyResult)) {
        key->KeyType = CK_RGB;
        key->LowColorValue = key->HighColorValue = colorKey;
    }
    if (color)
        *color = colorKey;
    return Record("GetColorKey", {}, colorKeyResult);
}

STDMETHODIMP FakeMixerPinConfig::SetAspectRatioMode(AM_ASPECT_RATIO_MODE mode) {
    if (SUCCEEDED(aspectResult))
        aspectMode = mode;
    return Record("SetAspectRatioMode", std::to_string(mode), aspectResult);
}

STDMETHODIMP FakeMixerPinConfig::GetAspectRatioMode(AM_ASPECT_RATIO_MODE* mode) {
    if (!mode)
        return E_POINTER;
    *mode = aspectMode;
    return S_OK;
}

STDMETHODIMP FakeMixerPinConfig::SetOverlaySurfaceColorControls(DDCOLORCONTROL* controls) {
    if (!controls)
        return E_POINTER;
    written = *controls;
    return Record("SetOverlaySurfaceColorControls", std::to_string(controls->lBrightness), setColorsResult);
}

STDMETHODIMP FakeMixerPinConfig::GetOverlaySurfaceColorControls(DDCOLORCONTROL* controls) {
    if (!controls)
        return E_POINTER;
    if (SUCCEEDED(getColorsResult))
        *controls = device;
    return Record("GetOverlaySurfaceColorControls", {}, getColorsResult);
}

FakeOverlayMixer::FakeOverlayMixer(int inputs, const std::wstring& name) : FakeFilter(name) {
    classId = CLSID_OverlayMixer;
    for (int i = 0; i < inputs; ++i) {
        FakePin* pin = AddPin(PINDIR_INPUT);
        configs_.push_back(MakeFake<FakeMixerPinConfig>("config:" + std::to_string(i)));
        pin->Expose(__uuidof(IMixerPinConfig2), configs_.back().Get());
    }
    AddPin(PINDIR_OUTPUT, L"Output");
}

STDMETHODIMP FakeOverlayMixer::QueryInterface(REFIID iid, void** out) {
    HRESULT result = E_NOINTERFACE;
    if (Redirected(iid, out, result))
        return result;
    if (IsEqualIID(iid, __uuidof(IDDrawExclModeVideo))) {
        *out = static_cast<IDDrawExclModeVideo*>(this);
        AddRef();
        return S_OK;
    }
    return FakeFilter::QueryInterface(iid, out);
}

STDMETHODIMP FakeOverlayMixer::GetNativeVideoProps(DWORD* width, DWORD* height, DWORD* x, DWORD* y) {
    if (!width || !height || !x || !y)
        return E_POINTER;
    *width = 720, *height = 576, *x = aspectX, *y = aspectY;
    return S_OK;
}

STDMETHODIMP FakeOverlayMixer::SetCallbackInterface(IDDrawExclModeVideoCallback* callback, DWORD) {
    if (FAILED(callbackResult))
        return Record("SetCallbackInterface", {}, callbackResult);
    callback_ = callback;
    return Record("SetCallbackInterface", callback ? "callback" : "none");
}

} // namespace fakes
