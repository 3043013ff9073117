// The video window's listener on the Overlay Mixer: colour key and size changes reach the control.
// It points at its control without holding it; the control cuts the link before it goes, so a
// late call from the mixer finds nothing to do.
#pragma once

#include "engine/OverlayInterfaces.h"

namespace vireon {

class TVideoWindow;

class TOverlayCallback : public IDDrawExclModeVideoCallback {
public:
    explicit TOverlayCallback(TVideoWindow* Control) : FControl(Control) {}
    virtual ~TOverlayCallback() = default;
    TOverlayCallback(const TOverlayCallback&) = delete;
    TOverlayCallback& operator=(const TOverlayCallback&) = delete;

    void Detach() { FControl = nullptr; }

    STDMETHODIMP QueryInterface(REFIID Iid, void** Object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&FRefs); }
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP OnUpdateOverlay(WINBOOL Before, DWORD Flags, WINBOOL OldVisible, const RECT* OldSource,
                                 const RECT* OldTarget, WINBOOL NewVisible, const RECT* NewSource,
                                 const RECT* NewTarget) override;
    STDMETHODIMP OnUpdateColorKey(const COLORKEY* Key, DWORD Color) override;
    STDMETHODIMP OnUpdateSize(DWORD Width, DWORD Height, DWORD AspectWidth, DWORD AspectHeight) override;

private:
    LONG FRefs = 1;
    TVideoWindow* FControl;
};

} // namespace vireon
