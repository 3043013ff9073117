// WM_COMMAND identifiers of the live menu items, so a command can be traced back to its item.
#pragma once

#include <windows.h>

#include <unordered_map>

namespace vireon {

class TMenuItem;

class TCommandTable {
public:
    // A free identifier in 1..0xFFFF (what WM_COMMAND can carry), or 0 when all are taken.
    UINT Allocate(TMenuItem* Item);
    void Release(UINT Command);
    TMenuItem* Find(UINT Command) const;

private:
    std::unordered_map<UINT, TMenuItem*> FItems;
    UINT FNext = 1;
};

} // namespace vireon
