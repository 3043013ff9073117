// A function of a system library that the player needs only for a rare command (the open dialog,
// a filter's property pages, the platform's error texts). Linked the usual way, each such library
// would be loaded with the program, together with what it loads in turn, before the window can
// show; this loads it on the first call instead.
#pragma once

#include "common/Win32Handles.h"

#include <utility>

namespace vireon {

// Function is the function's type, as decltype gives it: decltype(GetOpenFileNameW). Keep one in a
// function-local static, so the library is loaded once; it stays loaded while that lives.
template <typename Function> class TLateBound {
public:
    TLateBound(const char* Library, const char* Name) : FLibrary(LoadLibraryA(Library)) {
        if (FLibrary)
            FFunction = reinterpret_cast<Function*>(
                reinterpret_cast<void (*)()>(GetProcAddress(FLibrary.get(), Name)));
    }

    // False when the library or the function is missing: the caller falls back.
    explicit operator bool() const { return FFunction != nullptr; }
    template <typename... Args> auto operator()(Args&&... args) const {
        return FFunction(std::forward<Args>(args)...);
    }

private:
    UniqueModule FLibrary;
    Function* FFunction = nullptr;
};

} // namespace vireon
