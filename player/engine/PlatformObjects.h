// The one place where the engine creates platform media objects (graph manager, DVD graph builder,
// capture builder, renderers, mixers). Tests replace the factory with fakes.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "common/DirectShowUuids.h"

#include <functional>

namespace vireon {

struct TPlatformObjectFactory {
    // CoCreateInstance in-process by default.
    std::function<HRESULT(REFCLSID ClassId, REFIID Iid, void** Object)> CreateInstance;
    // Our own DVD graph builder, used where the platform's cannot supply a filter graph.
    std::function<HRESULT(IDvdGraphBuilder** Builder)> CreateOwnDvdGraphBuilder;
};

// The factory in use; replace its members to plug in other objects.
TPlatformObjectFactory& PlatformObjectFactory();
// The platform's defaults, for restoring the factory.
TPlatformObjectFactory DefaultPlatformObjectFactory();

HRESULT CreatePlatformObject(REFCLSID ClassId, REFIID Iid, void** Object);

template <typename Interface>
HRESULT CreatePlatformObject(REFCLSID ClassId, Microsoft::WRL::ComPtr<Interface>& Object) {
    Object.Reset();
    return CreatePlatformObject(ClassId, __uuidof(Interface),
                                reinterpret_cast<void**>(Object.GetAddressOf()));
}

// The platform's DVD graph builder when it can supply a filter graph, otherwise our own.
HRESULT CreateDvdGraphBuilder(Microsoft::WRL::ComPtr<IDvdGraphBuilder>& Builder);

} // namespace vireon
