#include "forms/TCommandTable.h"

namespace vireon {

UINT TCommandTable::Allocate(TMenuItem* Item) {
    constexpr UINT kLast = 0xFFFF;
    for (UINT tried = 0; tried < kLast; ++tried) {
        UINT command = FNext;
        FNext = FNext == kLast ? 1 : FNext + 1;
        if (FItems.emplace(command, Item).second)
            return command;
    }
    return 0;
}

void TCommandTable::Release(UINT Command) {
    FItems.erase(Command);
}

TMenuItem* TCommandTable::Find(UINT Command) const {
    auto it = FItems.find(Command);
    return it == FItems.end() ? nullptr : it->second;
}

} // namespace vireon
