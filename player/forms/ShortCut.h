// Menu shortcuts: a virtual-key code in the low byte and modifier flags above it.
#pragma once

#include "forms/Events.h"

#include <string>

namespace vireon {

using TShortCut = WORD;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD Key, TShiftState Shift);
// "F3", "Ctrl+P", "Shift+Right", "Alt+Enter", "Space"... Modifier names and key names are matched
// without regard to case. A text the framework doesn't know answers scNone.
TShortCut TextToShortCut(const std::string& Text);
std::string ShortCutToText(TShortCut Value);
// The modifier keys held now on this thread, as a shift state.
TShiftState KeyboardShiftState();

} // namespace vireon
