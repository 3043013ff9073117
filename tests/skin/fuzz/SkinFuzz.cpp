// libFuzzer target over the skin file reader, built for the host with sanitizers. Any text as a skin
// file: the header, colour definitions and glyphs are read by the skin's own reader (the blocks of
// styles and forms are passed over), and every glyph read is drawn at several sizes. Properties: an
// error names the file, a glyph read keeps within the point bounds and gives a finite drawing cost,
// and every pixel of a drawn glyph has a coverage within 0 to 1.
#include "skin/src/Glyph.h"
#include "skin/src/SkinReader.h"
#include "tests/support/FuzzProperty.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vireon::skin;

using fuzzsupport::Check;

namespace {

// Drawing is skipped for glyphs that would cost more than this, to keep the runs fast. Over the
// corpus, a third of this and no drawing at 24 pixels reach every branch of the drawing code that
// three times as much did, at a sixth less time per run.
constexpr double kWorkPerRun = 1000;

void ReadSkin(TSkinReader& reader) {
    if (!reader.ReadHeader())
        return;
    while (reader.NextLine()) {
        const std::string& keyword = reader.Tokens()[0];
        if (keyword == "colour" || keyword == "color")
            reader.ParseColourDefinition();
        else if (keyword == "glyph")
            reader.ParseGlyph();
        else if (keyword == "style" || keyword == "form")
            reader.Block("the " + keyword, [] {});
    }
}

[[clang::no_sanitize("coverage")]] void CheckCoverage(const TMask& mask) {
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x) {
            float coverage = mask.At(x, y);
            Check(coverage >= 0 && coverage <= 1, "a glyph coverage outside 0 to 1");
        }
}

void DrawGlyph(const TGlyph& glyph, double& budget) {
    // A tiny size, a small one and a usual one.
    for (int size : {1, 6, 13}) {
        double work = GlyphWork(glyph, size);
        Check(std::isfinite(work) && work >= 0, "a glyph drawing cost that is no number");
        if (work > budget)
            continue;
        budget -= work;
        // A box wider than the glyph, shifted down, as a pressed button draws it.
        CheckCoverage(GlyphMask(glyph, size + 3, size + 2, size, size % 3));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    TSkinReader reader(text, "fuzz.skn");
    try {
        ReadSkin(reader);
    } catch (const ESkinError& error) {
        Check(std::string(error.what()).rfind("fuzz.skn", 0) == 0, "an error that does not name the file");
    }
    int points = 0;
    double budget = kWorkPerRun;
    for (const auto& [name, glyph] : reader.Glyphs()) {
        int glyphPoints = 0;
        for (const TGlyphOp& op : glyph->ops)
            glyphPoints += OpPoints(op);
        Check(glyphPoints <= kMaxGlyphPoints, "a glyph read beyond the points a glyph may have");
        points += glyphPoints;
        DrawGlyph(*glyph, budget);
    }
    Check(points <= kMaxSkinGlyphPoints, "glyphs read beyond the points a skin may have");
    return 0;
}
