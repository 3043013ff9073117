// The text layer of the skin file reader: lines and tokens, numbers and colours, the header, colour
// definitions and glyphs, each error naming its line. Platform-free, so the glyphs of a skin file
// are also read, drawn and fuzzed on the host; the skin parser builds the forms on top of it.
#pragma once

#include "Glyph.h"
#include "skin/SkinError.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vireon::skin {

class TSkinReader {
public:
    // `name` starts every error message; the text must outlive the reader.
    TSkinReader(const std::string& text, std::string name) : text_(text), name_(std::move(name)) {}

    // Checks the text is a skin file and reads its header line; false when there is no line at all.
    bool ReadHeader();
    // Splits the next non-empty line into tokens; false at the end of the text.
    bool NextLine();
    const std::vector<std::string>& Tokens() const { return tokens_; }

    void ParseColourDefinition();
    void ParseGlyph();
    // The glyphs read so far, by name.
    const std::map<std::string, std::shared_ptr<const TGlyph>>& Glyphs() const { return glyphs_; }

    // The lines up to a line holding "end" alone; `what` names the block when the end is missing.
    template <typename Body> void Block(const std::string& what, Body body) {
        int start = line_;
        while (NextLine()) {
            if (tokens_[0] == "end" && tokens_.size() == 1)
                return;
            body();
        }
        line_ = start;
        Fail(what + " has no \"end\" (the file is truncated)");
    }

    [[noreturn]] void Fail(const std::string& why) const;

protected:
    int Integer(const std::string& text, int low, int high) const;
    float Real(const std::string& text, float low, float high) const;
    uint32_t Colour(const std::string& text) const;
    void Expect(size_t count, const std::string& form) const;
    // key=value pairs from token `first` on, handed to `apply`; bare words arrive with an empty value.
    void Attributes(size_t first, const std::function<bool(const std::string&, const std::string&)>& apply);

    const std::string& text_;
    std::string name_;
    size_t pos_ = 0;
    int line_ = 0;
    std::vector<std::string> tokens_;
    std::map<std::string, uint32_t> colours_;
    std::map<std::string, std::shared_ptr<const TGlyph>> glyphs_;

private:
    void Tokenize(const std::string& line);
    std::vector<TPolyline> Path(size_t first);
    void CountGlyphPoints(const std::string& glyph, int& points, int more);

    int glyphPoints_ = 0;
};

} // namespace vireon::skin
