// A fake video renderer: a filter with one input pin that offers IVideoWindow and IBasicVideo2.
// Calls that change something are journaled with their arguments
// ("filter:<name>.put_SourceWidth(648)", "filter:<name>.SetWindowPosition(0,0,320,240)").
#pragma once

#include "fakes/FakeFilter.h"

#include "common/DirectShowUuids.h"

namespace fakes {

class FakeVideoRenderer : public FakeFilter, public IVideoWindow, public IBasicVideo2 {
public:
    explicit FakeVideoRenderer(const std::wstring& name = L"Video Renderer");

    // Window state as last set.
    OAHWND owner = 0, drain = 0;
    long style = 0, styleEx = 0, autoShow = 0, visible = 0, cursorHidden = 0;
    long left = 0, top = 0, width = 0, height = 0;
    std::wstring caption;
    // Picture: the native size and the source rectangle.
    long videoWidth = 720, videoHeight = 576;
    long sourceLeft = 0, sourceTop = 0, sourceWidth = 720, sourceHeight = 576;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return FakeFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return FakeFilter::Release(); }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IVideoWindow
    STDMETHODIMP put_Caption(BSTR value) override;
    STDMETHODIMP get_Caption(BSTR* value) override;
    STDMETHODIMP put_WindowStyle(long value) override { return Set("put_WindowStyle", style, value); }
    STDMETHODIMP get_WindowStyle(long* value) override { return Get(value, style); }
    STDMETHODIMP put_WindowStyleEx(long value) override { return Set("put_WindowStyleEx", styleEx, value); }
    STDMETHODIMP get_WindowStyleEx(long* value) override { return Get(value, styleEx); }
    STDMETHODIMP put_AutoShow(long value) override { return Set("put_AutoShow", autoShow, value); }
    STDMETHODIMP get_AutoShow(long* value) override { return Get(value, autoShow); }
    STDMETHODIMP put_WindowState(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_WindowState(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_BackgroundPalette(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_BackgroundPalette(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(long value) override { return Set("put_Visible", visible, value); }
    STDMETHODIMP get_Visible(long* value) override { return Get(value, visible); }
    STDMETHODIMP put_Left(long value) override { return Set("put_Left", left, value); }
    STDMETHODIMP get_Left(long* value) override { return Get(value, left); }
    STDMETHODIMP put_Width(long value) override { return Set("put_Width", width, value); }
    STDMETHODIMP get_Width(long* value) override { return Get(value, width); }
    STDMETHODIMP put_Top(long value) override { return Set("put_Top", top, value); }
    STDMETHODIMP get_Top(long* value) override { return Get(value, top); }
    STDMETHODIMP put_Height(long value) override { return Set("put_Height", height, value); }
    STDMETHODIMP get_Height(long* value) override { return Get(value, height); }
    STDMETHODIMP put_Owner(OAHWND value) override;
    STDMETHODIMP get_Owner(OAHWND* value) override;
    STDMETHODIMP put_MessageDrain(OAHWND value) override;
    STDMETHODIMP get_MessageDrain(OAHWND* value) override;
    STDMETHODIMP get_BorderColor(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_BorderColor(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreenMode(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreenMode(long) override { return E_NOTIMPL; }
    STDMETHODIMP SetWindowForeground(long) override { return E_NOTIMPL; }
    STDMETHODIMP NotifyOwnerMessage(OAHWND, long, LONG_PTR, LONG_PTR) override { return S_OK; }
    STDMETHODIMP SetWindowPosition(long l, long t, long w, long h) override;
    STDMETHODIMP GetWindowPosition(long* l, long* t, long* w, long* h) override;
    STDMETHODIMP GetMinIdealImageSize(long*, long*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMaxIdealImageSize(long*, long*) override { return E_NOTIMPL; }
    STDMETHODIMP GetRestorePosition(long*, long*, long*, long*) override { return E_NOTIMPL; }
    STDMETHODIMP HideCursor(long value) override { return Set("HideCursor", cursorHidden, value); }
    STDMETHODIMP IsCursorHidden(long* value) override { return Get(value, cursorHidden); }

    // IBasicVideo, IBasicVideo2
    STDMETHODIMP get_AvgTimePerFrame(REFTIME*) override { return E_NOTIMPL; }
    STDMETHODIMP get_BitRate(long*) override { return E_NOTIMPL; }
    STDMETHODIMP get_BitErrorRate(long*) override { return E_NOTIMPL; }
    STDMETHODIMP get_VideoWidth(long* value) override { return Get(value, videoWidth); }
    STDMETHODIMP get_VideoHeight(long* value) override { return Get(value, videoHeight); }
    STDMETHODIMP put_SourceLeft(long value) override { return Set("put_SourceLeft", sourceLeft, value); }
    STDMETHODIMP get_SourceLeft(long* value) override { return Get(value, sourceLeft); }
    STDMETHODIMP put_SourceWidth(long value) override { return Set("put_SourceWidth", sourceWidth, value); }
    STDMETHODIMP get_SourceWidth(long* value) override { return Get(value, sourceWidth); }
    STDMETHODIMP put_SourceTop(long value) override { return Set("put_SourceTop", sourceTop, value); }
    STDMETHODIMP get_SourceTop(long* value) override { return Get(value, sourceTop); }
    STDMETHODIMP put_SourceHeight(long value) override { return Set("put_SourceHeight", sourceHeight, value); }
    STDMETHODIMP get_SourceHeight(long* value) override { return Get(value, sourceHeight); }
    STDMETHODIMP put_DestinationLeft(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_DestinationLeft(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_DestinationWidth(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_DestinationWidth(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_DestinationTop(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_DestinationTop(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_DestinationHeight(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_DestinationHeight(long*) override { return E_NOTIMPL; }
    STDMETHODIMP SetSourcePosition(long l, long t, long w, long h) override;
    STDMETHODIMP GetSourcePosition(long* l, long* t, long* w, long* h) override;
    STDMETHODIMP SetDefaultSourcePosition() override;
    STDMETHODIMP SetDestinationPosition(long, long, long, long) override { return E_NOTIMPL; }
    STDMETHODIMP GetDestinationPosition(long*, long*, long*, long*) override { return E_NOTIMPL; }
    STDMETHODIMP SetDefaultDestinationPosition() override { return E_NOTIMPL; }
    STDMETHODIMP GetVideoSize(long* w, long* h) override;
    STDMETHODIMP GetVideoPaletteEntries(long, long, long*, long*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurrentImage(long*, long*) override { return E_NOTIMPL; }
    STDMETHODIMP IsUsingDefaultSource() override { return E_NOTIMPL; }
    STDMETHODIMP IsUsingDefaultDestination() override { return E_NOTIMPL; }
    STDMETHODIMP GetPreferredAspectRatio(long*, long*) override { return E_NOTIMPL; }

private:
    HRESULT Set(const char* method, long& field, long value);
    static HRESULT Get(long* out, long value);
};

} // namespace fakes
