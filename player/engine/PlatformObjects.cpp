#include "engine/PlatformObjects.h"

#include "dvdnav/OwnDvdGraphBuilder.h"

using Microsoft::WRL::ComPtr;

namespace vireon {

TPlatformObjectFactory DefaultPlatformObjectFactory() {
    TPlatformObjectFactory factory;
    factory.CreateInstance = [](REFCLSID ClassId, REFIID Iid, void** Object) {
        return CoCreateInstance(ClassId, nullptr, CLSCTX_INPROC_SERVER, Iid, Object);
    };
    factory.CreateOwnDvdGraphBuilder = [](IDvdGraphBuilder** Builder) {
        return dvdnav::CreateOwnDvdGraphBuilder(Builder);
    };
    return factory;
}

TPlatformObjectFactory& PlatformObjectFactory() {
    static TPlatformObjectFactory factory = DefaultPlatformObjectFactory();
    return factory;
}

HRESULT CreatePlatformObject(REFCLSID ClassId, REFIID Iid, void** Object) {
    if (!Object)
        return E_POINTER;
    *Object = nullptr;
    auto& create = PlatformObjectFactory().CreateInstance;
    return create ? create(ClassId, Iid, Object) : REGDB_E_CLASSNOTREG;
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
    auto& createOwn = PlatformObjectFactory().CreateOwnDvdGraphBuilder;
    if (!createOwn)
        return REGDB_E_CLASSNOTREG;
    HRESULT result = createOwn(Builder.ReleaseAndGetAddressOf());
    if (FAILED(result))
        Builder.Reset();
    return result;
}

} // namespace vireon
