// The one place where the engine creates platform media objects (graph manager, DVD graph builder,
// capture builder, renderers, mixers). Tests fill the two creation seams with fakes.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "common/DirectShowUuids.h"
#include "common/Seam.h"

namespace vireon {

// Object creation; empty: CoCreateInstance in-process.
using TCreateInstanceSeam = TSeam<HRESULT(REFCLSID ClassId, REFIID Iid, void** Object)>;
TCreateInstanceSeam& CreateInstanceSeam();
// Creation of our own DVD graph builder, used where the platform's cannot supply a filter graph;
// empty: the one in dvdnav.
using TCreateOwnDvdGraphBuilderSeam = TSeam<HRESULT(IDvdGraphBuilder** Builder)>;
TCreateOwnDvdGraphBuilderSeam& CreateOwnDvdGraphBuilderSeam();

HRESULT CreatePlatformObject(REFCLSID ClassId, REFIID Iid, void** Object);

template <typename Interface>
HRESULT CreatePlatformObject(REFCLSID ClassId, Microsoft::WRL::ComPtr<Interface>& Object) {
    Object.Reset();
    return CreatePlatformObject(ClassId, __uuidof(Interface),
                                reinterpret_cast<void**>(Object.GetAddressOf()));
}

// The platform's DVD graph builder when it can supply a filter graph, otherwise our own.
HRESULT CreateDvdGraphBuilder(Microsoft::WRL::ComPtr<IDvdGraphBuilder>& Builder);

// Opens the platform's sound device once more and has the application keep it open until it ends
// (see the source for why). Graph owners call it before their first graph.
void KeepSoundDeviceOpen();

// Wine, recognised by ntdll's wine_get_version: its media objects need a few detours.
bool RunningOnWine();

} // namespace vireon
