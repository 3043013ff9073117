// What a media type handed out by a pin (ConnectionMediaType, IEnumMediaTypes) leaves its receiver
// to free.
#pragma once

#include <objbase.h>
#include <strmif.h>

namespace vireon {

// Frees the format block and lets go of the object of a media type the caller was given.
inline void FreeMediaTypeContents(AM_MEDIA_TYPE& Type) {
    CoTaskMemFree(Type.pbFormat);
    Type.pbFormat = nullptr;
    Type.cbFormat = 0;
    if (Type.pUnk) {
        Type.pUnk->Release();
        Type.pUnk = nullptr;
    }
}

} // namespace vireon
