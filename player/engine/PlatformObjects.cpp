#include "engine/PlatformObjects.h"

#include "dvdnav/OwnDvdGraphBuilder.h"

using Microsoft::WRL::ComPtr;

namespace vireon {

TCreateInstanceSeam& CreateInstanceSeam() {
    static TCreateInstanceSeam seam;
    return seam;
}

TCreateOwnDvdGraphBuilderSeam& CreateOwnDvdGraphBuilderSeam() {
    static TCreateOwnDvdGraphBuilderSeam seam;
    return seam;
}

HRESULT CreatePlatformObject(REFCLSID ClassId, REFIID Iid, void** Object) {
    if (!Object)
        return E_POINTER;
    *Object = nullptr;
    return CallSeam(
        CreateInstanceSeam(),
        [](REFCLSID Class, REFIID Interface, void** Out) {
            return CoCreateInstance(Class, nullptr, CLSCTX_INPROC_SERVER, Interface, Out);
        },
        ClassId, Iid, Object);
}

HRESULT CreateDvdGraphBuilder(ComPtr<IDvdGraphBuilder>& Builder) {
    Builder.Reset();
    ComPtr<IDvdGraphBuilder> platform;
    if (SUCCEEDED(CreatePlatformObject(CLSID_DvdGraphBuilder, platform))) {
        // A builder without a filter graph (Wine's answers E_NOTIMPL) cannot play anything.
        ComPtr<IGraphBuilder> graph;
        if (SUCCEEDED(platform->GetFiltergraph(&graph)) && graph) {
            Builder = platform;
            return S_OK;
        }
    }
    HRESULT result = CallSeam(CreateOwnDvdGraphBuilderSeam(), dvdnav::CreateOwnDvdGraphBuilder,
                              Builder.ReleaseAndGetAddressOf());
    if (FAILED(result))
        Builder.Reset();
    return result;
}

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace vireon
