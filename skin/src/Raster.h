// Coverage masks put on pixmaps.
#pragma once

#include "Mask.h"
#include "Pixmap.h"

namespace vireon::skin {

// Blends `colour` (straight 0xAARRGGBB) through the mask placed at (x, y) of the pixmap. With a
// second colour the fill runs as a vertical gradient from `colour` at the mask's top to `bottom`.
void PaintMask(TPixmap& target, const TMask& mask, int x, int y, uint32_t colour);
void PaintMask(TPixmap& target, const TMask& mask, int x, int y, uint32_t colour, uint32_t bottom);

} // namespace vireon::skin
