// Menu helpers.
#pragma once

namespace vireon {

class TMenuItem;

// Frees every sub-item of Item, the deepest first; nothing for a missing item.
void ClearMenu(TMenuItem* Item);

} // namespace vireon
