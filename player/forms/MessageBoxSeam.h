// Every blocking message box of the player goes through this one seam, so that tests can replace
// it and never block.
#pragma once

#include "common/Seam.h"

#include <windows.h>

#include <string>

namespace vireon {

// Same contract as MessageBoxA: owner window, text, caption, MB_ flags; answers the button id.
using TMessageBoxSeam = TSeam<int(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags)>;
TMessageBoxSeam& MessageBoxSeam();

int ShowMessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags);

} // namespace vireon
