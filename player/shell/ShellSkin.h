// The player's skin control, bound to the application: what a skin event handler throws reaches
// the application's exception handler, like an error of any other event of the player.
#pragma once

#include "skin/SkinInterfaces.h"

namespace vireon {

Microsoft::WRL::ComPtr<skin::ISkin> CreateShellSkin();

} // namespace vireon
