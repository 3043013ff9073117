#include "fakes/FakeVideo.h"

#include <string>

namespace fakes {

FakeVideoRenderer::FakeVideoRenderer(const std::wstring& name) : FakeFilter(name, 1, 0) {
    classId = CLSID_VideoRenderer;
}

STDMETHODIMP FakeVideoRenderer::QueryInterface(REFIID iid, void** out) {
    HRESULT result = E_NOINTERFACE;
    if (Redirected(iid, out, result))
        return result;
    // The filter answers for IUnknown, so the object keeps one identity.
    using Table = vireon::ComChain<IBasicVideo2, IBasicVideo>;
    if (!IsEqualIID(iid, __uuidof(IUnknown))) {
        result = vireon::QueryInterfaceTable<IVideoWindow, Table>(this, iid, out);
        if (result == S_OK)
            return S_OK;
    }
    return FakeFilter::QueryInterface(iid, out);
}

HRESULT FakeVideoRenderer::Set(const char* method, long& field, long value) {
    field = value;
    return Record(method, std::to_string(value));
}

HRESULT FakeVideoRenderer::Get(long* out, long value) {
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

STDMETHODIMP FakeVideoRenderer::put_Caption(BSTR value) {
    caption = value ? value : L"";
    return Record("put_Caption", Narrow(caption.c_str()));
}

STDMETHODIMP FakeVideoRenderer::get_Caption(BSTR* value) {
    if (!value)
        return E_POINTER;
    *value = SysAllocString(caption.c_str());
    return S_OK;
}

STDMETHODIMP FakeVideoRenderer::put_Owner(OAHWND value) {
    owner = value;
    return Record("put_Owner");
}

STDMETHODIMP FakeVideoRenderer::get_Owner(OAHWND* value) {
    if (!value)
        return E_POINTER;
    *value = owner;
    return S_OK;
}

STDMETHODIMP FakeVideoRenderer::put_MessageDrain(OAHWND value) {
    drain = value;
    return Record("put_MessageDrain");
}

STDMETHODIMP FakeVideoRenderer::get_MessageDrain(OAHWND* value) {
    if (!value)
        return E_POINTER;
    *value = drain;
    return S_OK;
}

STDMETHODIMP FakeVideoRenderer::SetWindowPosition(long l, long t, long w, long h) {
    left = l, top = t, width = w, height = h;
    return Record("SetWindowPosition",
                  std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(w) + "," + std::to_string(h));
}

STDMETHODIMP FakeVideoRenderer::GetWindowPosition(long* l, long* t, long* w, long* h) {
    if (!l || !t || !w || !h)
        return E_POINTER;
    *l = left, *t = top, *w = width, *h = height;
    return S_OK;
}

STDMETHODIMP FakeVideoRenderer::SetSourcePosition(long l, long t, long w, long h) {
    sourceLeft = l, sourceTop = t, sourceWidth = w, sourceHeight = h;
    return Record("SetSourcePosition");
}

STDMETHODIMP FakeVideoRenderer::GetSourcePosition(long* l, long* t, long* w, long* h) {
    if (!l || !t || !w || !h)
        return E_POINTER;
    *l = sourceLeft, *t = sourceTop, *w = sourceWidth, *h = sourceHeight;
    return S_OK;
}

STDMETHODIMP FakeVideoRenderer::SetDefaultSourcePosition() {
    sourceLeft = sourceTop = 0;
    sourceWidth = videoWidth;
    sourceHeight = videoHeight;
    return Record("SetDefaultSourcePosition");
}

STDMETHODIMP FakeVideoRenderer::GetVideoSize(long* w, long* h) {
    if (!w || !h)
        return E_POINTER;
    *w = videoWidth, *h = videoHeight;
    return S_OK;
}

} // namespace fakes
