// Fakes for what the platform lacks here: the Overlay Mixer (exclusive-mode access, input pins with
// the pin configuration interface, an "Output" pin) and the overlay surface's colour controls.
#pragma once

#include "fakes/FakeFilter.h"

#include "engine/OverlayInterfaces.h"

namespace fakes {

// One mixer input pin's configuration: aspect mode, colour key and the overlay colour controls.
class FakeMixerPinConfig : public Fake<vireon::ComChain<IMixerPinConfig2, IMixerPinConfig>> {
public:
    explicit FakeMixerPinConfig(std::string name);

    HRESULT aspectResult = S_OK, getColorsResult = S_OK, setColorsResult = S_OK, colorKeyResult = S_OK;
    AM_ASPECT_RATIO_MODE aspectMode = AM_ARMODE_LETTER_BOX;
    COLORREF colorKey = RGB(16, 0, 16);
    // What the "hardware" answers to a read, and what was last written.
    DDCOLORCONTROL device{};
    DDCOLORCONTROL written{};

    STDMETHODIMP SetRelativePosition(DWORD, DWORD, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetRelativePosition(DWORD*, DWORD*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetZOrder(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetZOrder(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetColorKey(COLORKEY*) override { return E_NOTIMPL; }
    STDMETHODIMP GetColorKey(COLORKEY* key, DWORD* color) override;
    STDMETHODIMP SetBlendingParameter(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetBlendingParameter(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAspectRatioMode(AM_ASPECT_RATIO_MODE mode) override;
    STDMETHODIMP GetAspectRatioMode(AM_ASPECT_RATIO_MODE* mode) override;
    STDMETHODIMP SetStreamTransparent(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetStreamTransparent(BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP SetOverlaySurfaceColorControls(DDCOLORCONTROL* controls) override;
    STDMETHODIMP GetOverlaySurfaceColorControls(DDCOLORCONTROL* controls) override;
};

class FakeOverlayMixer : public FakeFilter, public IDDrawExclModeVideo {
public:
    // Input pins (each with its configuration), then the "Output" pin.
    explicit FakeOverlayMixer(int inputs = 2, const std::wstring& name = L"Overlay Mixer");

    FakeMixerPinConfig* Config(int input) const { return configs_.at(input).Get(); }
    FakePin* Output() const { return GetPin(PinCount() - 1); }
    IDDrawExclModeVideoCallback* Callback() const { return callback_.Get(); }
    HRESULT callbackResult = S_OK;
    DWORD aspectX = 4, aspectY = 3;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return FakeFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return FakeFilter::Release(); }

    STDMETHODIMP SetDDrawObject(IDirectDraw*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDDrawObject(IDirectDraw**, WINBOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP SetDDrawSurface(IDirectDrawSurface*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDDrawSurface(IDirectDrawSurface**, WINBOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP SetDrawParameters(const RECT*, const RECT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNativeVideoProps(DWORD* width, DWORD* height, DWORD* x, DWORD* y) override;
    STDMETHODIMP SetCallbackInterface(IDDrawExclModeVideoCallback* callback, DWORD flags) override;

private:
    std::vector<Microsoft::WRL::ComPtr<FakeMixerPinConfig>> configs_;
    Microsoft::WRL::ComPtr<IDDrawExclModeVideoCallback> callback_;
};

} // namespace fakes
