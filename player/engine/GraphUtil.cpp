#include "engine/GraphUtil.h"

#include "common/TextConversion.h"

#include "common/DirectShowUuids.h"
#include "common/LateBound.h"

#include <olectl.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstring>
#include <string>

using Microsoft::WRL::ComPtr;

namespace vireon {

HRESULT RegisterGraphForInspection(IUnknown* Graph, DWORD& Cookie) {
    ComPtr<IRunningObjectTable> table;
    HRESULT result = GetRunningObjectTable(0, &table);
    if (FAILED(result))
        return result;
    char name[64];
    snprintf(name, sizeof name, "FilterGraph %08lX pid %lx",
             static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(Graph)),
             static_cast<unsigned long>(GetCurrentProcessId()));
    ComPtr<IMoniker> moniker;
    result = CreateItemMoniker(L"!", WideFromAnsi(name).c_str(), &moniker);
    if (FAILED(result))
        return result;
    return table->Register(0, Graph, moniker.Get(), &Cookie);
}

HRESULT UnregisterGraphForInspection(DWORD Cookie) {
    ComPtr<IRunningObjectTable> table;
    HRESULT result = GetRunningObjectTable(0, &table);
    if (FAILED(result))
        return result;
    return table->Revoke(Cookie);
}

TDVDTimeCode UnpackDvdTimecode(DWORD Value) {
    // The platform's DVD_TIMECODE bit fields fill a value from its least significant bit up:
    // hour digits first, frame-rate code in the top two bits.
    TDVDTimeCode code;
    code.d0 = Value & 0xF;
    code.d1 = (Value >> 4) & 0xF;
    code.d2 = (Value >> 8) & 0xF;
    code.d3 = (Value >> 12) & 0xF;
    code.d4 = (Value >> 16) & 0xF;
    code.d5 = (Value >> 20) & 0xF;
    code.d6 = (Value >> 24) & 0xF;
    code.d7 = (Value >> 28) & 0x3;
    code.FrameRateCode = (Value >> 30) & 0x3;
    return code;
}

namespace {

HRESULT ShowPropertyPages(HWND Parent, IUnknown* Filter) {
    ComPtr<ISpecifyPropertyPages> specify;
    HRESULT result = Filter->QueryInterface(IID_PPV_ARGS(&specify));
    if (FAILED(result))
        return result;
    CAUUID pages{};
    result = specify->GetPages(&pages);
    if (FAILED(result))
        return result;
    ComPtr<IBaseFilter> filter;
    FILTER_INFO info{};
    result = Filter->QueryInterface(IID_PPV_ARGS(&filter));
    if (SUCCEEDED(result))
        result = filter->QueryFilterInfo(&info);
    if (SUCCEEDED(result)) {
        if (info.pGraph)
            info.pGraph->Release();
        static const TLateBound<decltype(OleCreatePropertyFrame)> createFrame("oleaut32.dll",
                                                                              "OleCreatePropertyFrame");
        result = createFrame ? createFrame(Parent, 0, 0, info.achName, 1, &Filter, pages.cElems, pages.pElems,
                                           0, 0, nullptr)
                             : E_NOTIMPL;
    }
    CoTaskMemFree(pages.pElems);
    return result;
}

HRESULT ShowCaptureDialog(HWND Parent, IUnknown* Filter, int Dialog) {
    ComPtr<IAMVfwCaptureDialogs> dialogs;
    HRESULT result = Filter->QueryInterface(IID_PPV_ARGS(&dialogs));
    if (FAILED(result))
        return result;
    result = dialogs->HasDialog(Dialog);
    if (FAILED(result))
        return result;
    return dialogs->ShowDialog(Dialog, Parent);
}

HRESULT ShowCompressDialog(HWND Parent, IUnknown* Filter, int Query, int Dialog) {
    ComPtr<IAMVfwCompressDialogs> dialogs;
    HRESULT result = Filter->QueryInterface(IID_PPV_ARGS(&dialogs));
    if (FAILED(result))
        return result;
    result = dialogs->ShowDialog(Query, nullptr);
    if (FAILED(result))
        return result;
    return dialogs->ShowDialog(Dialog, Parent);
}

} // namespace

HRESULT ShowFilterProperties(HWND Parent, IUnknown* Filter, int Kind) {
    if (!Filter)
        return S_FALSE;
    switch (Kind) {
    case 0:
        return ShowPropertyPages(Parent, Filter);
    case 1:
        return ShowCaptureDialog(Parent, Filter, VfwCaptureDialog_Display);
    case 2:
        return ShowCaptureDialog(Parent, Filter, VfwCaptureDialog_Format);
    case 3:
        return ShowCaptureDialog(Parent, Filter, VfwCaptureDialog_Source);
    case 4:
        return ShowCompressDialog(Parent, Filter, VfwCompressDialog_QueryConfig, VfwCompressDialog_Config);
    case 5:
        return ShowCompressDialog(Parent, Filter, VfwCompressDialog_QueryAbout, VfwCompressDialog_About);
    default:
        return E_INVALIDARG;
    }
}

void FitRectKeepingAspect(const RECT& Target, const RECT& Source, RECT& Result) {
    int tw = Target.right - Target.left, th = Target.bottom - Target.top;
    int sw = Source.right - Source.left, sh = Source.bottom - Source.top;
    if (sw <= 0 || sh <= 0) {
        // No shape to keep: fill the target rather than divide by zero.
        Result = Target;
        return;
    }
    int width, height;
    if (static_cast<double>(th) / sh > static_cast<double>(tw) / sw) {
        width = MulDiv(sw, tw, sw);
        height = MulDiv(sh, tw, sw);
    } else {
        width = MulDiv(sw, th, sh);
        height = MulDiv(sh, th, sh);
    }
    int left = Target.left + (tw - width) / 2, top = Target.top + (th - height) / 2;
    Result = {left, top, left + width, top + height};
}

} // namespace vireon
