#include "engine/TOverlayCallback.h"

#include "engine/TVideoWindow.h"

namespace vireon {

STDMETHODIMP TOverlayCallback::QueryInterface(REFIID Iid, void** Object) {
    if (!Object)
        return E_POINTER;
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, __uuidof(IDDrawExclModeVideoCallback))) {
        *Object = static_cast<IDDrawExclModeVideoCallback*>(this);
        AddRef();
        return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TOverlayCallback::Release() {
    ULONG refs = InterlockedDecrement(&FRefs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP TOverlayCallback::OnUpdateOverlay(WINBOOL, DWORD, WINBOOL, const RECT*, const RECT*, WINBOOL,
                                               const RECT*, const RECT*) {
    return S_OK;
}

STDMETHODIMP TOverlayCallback::OnUpdateColorKey(const COLORKEY* Key, DWORD) {
    if (FControl && Key)
        FControl->ColorKeyChanged(Key->HighColorValue);
    return S_OK;
}

STDMETHODIMP TOverlayCallback::OnUpdateSize(DWORD, DWORD, DWORD, DWORD) {
    if (FControl)
        FControl->OverlaySizeChanged();
    return S_OK;
}

} // namespace vireon
