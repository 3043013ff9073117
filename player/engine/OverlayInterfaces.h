// The Overlay Mixer's pin configuration interfaces, which the mingw headers lack, declared from the
// platform's documented method order, and the identifiers the overlay set-up needs.
#pragma once

#include <windows.h>
#include <ddraw.h>
#include <dshow.h>

#include "common/DirectShowUuids.h"

enum AM_ASPECT_RATIO_MODE {
    AM_ARMODE_STRETCHED = 0,
    AM_ARMODE_LETTER_BOX = 1,
    AM_ARMODE_CROP = 2,
    AM_ARMODE_STRETCHED_AS_PRIMARY = 3
};

struct IMixerPinConfig : public IUnknown {
    virtual HRESULT WINAPI SetRelativePosition(DWORD Left, DWORD Top, DWORD Right, DWORD Bottom) = 0;
    virtual HRESULT WINAPI GetRelativePosition(DWORD* Left, DWORD* Top, DWORD* Right, DWORD* Bottom) = 0;
    virtual HRESULT WINAPI SetZOrder(DWORD ZOrder) = 0;
    virtual HRESULT WINAPI GetZOrder(DWORD* ZOrder) = 0;
    virtual HRESULT WINAPI SetColorKey(COLORKEY* ColorKey) = 0;
    virtual HRESULT WINAPI GetColorKey(COLORKEY* ColorKey, DWORD* Color) = 0;
    virtual HRESULT WINAPI SetBlendingParameter(DWORD BlendingParameter) = 0;
    virtual HRESULT WINAPI GetBlendingParameter(DWORD* BlendingParameter) = 0;
    virtual HRESULT WINAPI SetAspectRatioMode(AM_ASPECT_RATIO_MODE Mode) = 0;
    virtual HRESULT WINAPI GetAspectRatioMode(AM_ASPECT_RATIO_MODE* Mode) = 0;
    virtual HRESULT WINAPI SetStreamTransparent(BOOL StreamTransparent) = 0;
    virtual HRESULT WINAPI GetStreamTransparent(BOOL* StreamTransparent) = 0;
};

struct IMixerPinConfig2 : public IMixerPinConfig {
    virtual HRESULT WINAPI SetOverlaySurfaceColorControls(DDCOLORCONTROL* ColorControl) = 0;
    virtual HRESULT WINAPI GetOverlaySurfaceColorControls(DDCOLORCONTROL* ColorControl) = 0;
};

__CRT_UUID_DECL(IMixerPinConfig, 0x593cdde1, 0x0759, 0x11d1, 0x9e, 0x69, 0x00, 0xc0, 0x4f, 0xd7, 0xc1, 0x5b)
__CRT_UUID_DECL(IMixerPinConfig2, 0xebf47182, 0x8764, 0x11d1, 0x9e, 0x69, 0x00, 0xc0, 0x4f, 0xd7, 0xc1, 0x5b)
__CRT_UUID_DECL(IDDrawExclModeVideoCallback, 0x913c24a0, 0x20ab, 0x11d2, 0x90, 0x38, 0x00, 0xa0, 0xc9, 0x69,
                0x72, 0x98)

namespace vireon {

// The second generation of the mixer; the uuid headers name only the first.
inline constexpr CLSID CLSID_OverlayMixer2 = {
    0xa0025e90, 0xe45b, 0x11d1, {0xab, 0xe9, 0x00, 0xa0, 0xc9, 0x05, 0xf3, 0x75}};

// The mixer filter's class: either generation.
inline bool IsOverlayMixerClass(REFCLSID ClassId) {
    return IsEqualCLSID(ClassId, CLSID_OverlayMixer) || IsEqualCLSID(ClassId, CLSID_OverlayMixer2);
}

} // namespace vireon
