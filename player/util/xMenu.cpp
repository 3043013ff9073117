#include "util/xMenu.h"

#include "forms/TMenuItem.h"

namespace vireon {

void ClearMenu(TMenuItem* Item) {
    if (!Item)
        return;
    for (int i = Item->Count() - 1; i >= 0; --i) {
        TMenuItem* child = Item->Items(i);
        ClearMenu(child);
        Item->Remove(child);
        child->Free();
    }
}

} // namespace vireon
