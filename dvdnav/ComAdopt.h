// Takes over the reference a raw COM pointer already carries (a new object, an out-parameter).
// mingw's ComPtr::Attach adds a reference of its own, which would leak the object.
#pragma once

#include <wrl/client.h>

namespace dvdnav {

template <typename T> Microsoft::WRL::ComPtr<T> AdoptComPointer(T* Raw) {
    Microsoft::WRL::ComPtr<T> Owner(Raw);
    if (Raw)
        Raw->Release();
    return Owner;
}

} // namespace dvdnav
