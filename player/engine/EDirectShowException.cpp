#include "engine/EDirectShowException.h"

#include <cstdio>

namespace vireon {

HRESULT CheckMediaResult(HRESULT Code) {
    if (SUCCEEDED(Code))
        return Code;
    char code[16];
    snprintf(code, sizeof code, "%lX", static_cast<unsigned long>(Code));
    throw EDirectShowException(MediaErrorText(Code) + " ($" + code + ").", Code);
}

} // namespace vireon
