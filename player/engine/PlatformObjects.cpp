#include "engine/PlatformObjects.h"

#include "dvdnav/OwnDvdGraphBuilder.h"
#include "forms/TApplication.h"

#include <dsound.h>

__CRT_UUID_DECL(IDirectSound8, 0xc50a7e93, 0xf395, 0x4834, 0x9e, 0xf6, 0x7f, 0xa9, 0x9d, 0xe5, 0x09, 0x66)

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

namespace {

constexpr CLSID kDirectSound8 = {0x3901cc3f, 0x84b5, 0x4fa4, {0xba, 0x35, 0xaa, 0x81, 0x72, 0xb8, 0xa0, 0x9b}};

} // namespace

// Wine frees its shared sound device without a lock against a renderer opening it meanwhile: the
// last release waits for the device's mixer thread while the device is still listed, and an audio
// renderer created on another thread in that time takes the dying device and later frees it again.
// Graphs are released on more than one thread here (a graph call given up on lets go of its graph
// when it returns), so the device must never reach its last release while graphs come and go.
void KeepSoundDeviceOpen() {
    TApplication& application = Application();
    if (application.KeepsAlive(kDirectSound8))
        return;
    ComPtr<IDirectSound8> sound;
    if (SUCCEEDED(CreatePlatformObject(kDirectSound8, sound)) && SUCCEEDED(sound->Initialize(nullptr)))
        application.KeepAlive(kDirectSound8, sound);
}

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace vireon
