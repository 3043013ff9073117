// Line icons: the shapes of a glyph, drawn into a coverage mask at any size, and the bounds on the
// work a skin's glyphs may ask for. Platform-free, so glyph drawing is also fuzzed on the host.
#pragma once

#include "Mask.h"

#include <cstdint>
#include <vector>

namespace vireon::skin {

// A line icon in a square box of `size` units, scaled to the button's glyph size.
struct TGlyphOp {
    enum class Kind { Stroke, Fill, Circle, Ring, Rect };
    Kind kind = Kind::Fill;
    std::vector<TPolyline> path;
    float width = 0;
    float values[6] = {};
};

struct TGlyph {
    float size = 20;
    std::vector<TGlyphOp> ops;
};

// Drawing costs about (segments x pixels of the shape's box) for every shape of a glyph. A skin is
// refused beyond these, so that no skin file keeps the player drawing for seconds.
constexpr int kMaxGlyphSize = 512;             // pixels a glyph is drawn at
constexpr int kMaxGlyphPoints = 1000;          // points of one glyph (a circle, ring or box counts one)
constexpr int kMaxSkinGlyphPoints = 20000;     // points of all the glyphs of a skin
constexpr double kMaxSkinGlyphWork = 32 << 20; // GlyphWork summed over the objects showing glyphs

// The points a glyph shape counts for.
int OpPoints(const TGlyphOp& op);
// An upper bound on the pixel visits drawing the glyph at `size` pixels takes.
double GlyphWork(const TGlyph& glyph, int size);

// The glyph centred in a box of the given size, shifted down by `offset`.
TMask GlyphMask(const TGlyph& glyph, int width, int height, int size, int offset);

} // namespace vireon::skin
