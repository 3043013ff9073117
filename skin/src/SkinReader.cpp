#include "SkinReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace vireon::skin {

namespace {

constexpr int kHeaderVersion = 1;

} // namespace

bool TSkinReader::ReadHeader() {
    if (text_.find('\0') != std::string::npos)
        throw ESkinError(name_ + ": not a skin file (it holds binary data)");
    if (!NextLine())
        return false;
    if (tokens_.size() != 2 || tokens_[0] != "vireon-skin")
        Fail("expected the header \"vireon-skin " + std::to_string(kHeaderVersion) + "\"");
    if (Integer(tokens_[1], 1, 1000) != kHeaderVersion)
        Fail("unsupported skin version " + tokens_[1]);
    return true;
}

void TSkinReader::Fail(const std::string& why) const {
    throw ESkinError(name_ + ", line " + std::to_string(line_) + ": " + why);
}

bool TSkinReader::NextLine() {
    while (pos_ < text_.size()) {
        size_t end = text_.find('\n', pos_);
        if (end == std::string::npos)
            end = text_.size();
        std::string line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++line_;
        Tokenize(line);
        if (!tokens_.empty())
            return true;
    }
    return false;
}

void TSkinReader::Tokenize(const std::string& line) {
    tokens_.clear();
    size_t i = 0;
    while (i < line.size()) {
        unsigned char c = line[i];
        if (isspace(c)) {
            ++i;
            continue;
        }
        if (c == '#' && (i + 1 >= line.size() || !isxdigit((unsigned char)line[i + 1])))
            break;
        std::string token;
        while (i < line.size() && !isspace((unsigned char)line[i])) {
            if (line[i] == '"') {
                size_t close = line.find('"', i + 1);
                if (close == std::string::npos)
                    Fail("a quoted text has no closing quote");
                token += line.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                token += line[i++];
            }
        }
        tokens_.push_back(token);
    }
}

int TSkinReader::Integer(const std::string& text, int low, int high) const {
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        Fail("\"" + text + "\" is not a whole number");
    if (value < low || value > high)
        Fail("the number " + text + " is out of range (" + std::to_string(low) + " to " +
             std::to_string(high) + ")");
    return int(value);
}

float TSkinReader::Real(const std::string& text, float low, float high) const {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0')
        Fail("\"" + text + "\" is not a number");
    if (!(value >= low && value <= high))
        Fail("the number " + text + " is out of range");
    return float(value);
}

uint32_t TSkinReader::Colour(const std::string& text) const {
    if (text == "none")
        return 0;
    if (text.empty() || text[0] != '#') {
        auto found = colours_.find(text);
        if (found == colours_.end())
            Fail("unknown colour \"" + text + "\"");
        return found->second;
    }
    std::string hex = text.substr(1);
    if ((hex.size() != 6 && hex.size() != 8) ||
        !std::all_of(hex.begin(), hex.end(), [](unsigned char c) { return isxdigit(c); }))
        Fail("\"" + text + "\" is not a colour (#RRGGBB or #RRGGBBAA)");
    uint32_t value = uint32_t(std::strtoul(hex.c_str(), nullptr, 16));
    return hex.size() == 6 ? 0xFF000000u | value : (value >> 8) | (value << 24);
}

void TSkinReader::Expect(size_t count, const std::string& form) const {
    if (tokens_.size() != count)
        Fail("expected \"" + form + "\"");
}

void TSkinReader::ParseColourDefinition() {
    Expect(3, "colour NAME #RRGGBB");
    colours_[tokens_[1]] = Colour(tokens_[2]);
}

std::vector<TPolyline> TSkinReader::Path(size_t first) {
    std::vector<TPolyline> path;
    for (size_t i = first; i < tokens_.size();) {
        const std::string& op = tokens_[i];
        if (op == "Z" || op == "z") {
            if (path.empty())
                Fail("Z before any point");
            path.back().closed = true;
            ++i;
            continue;
        }
        if ((op != "M" && op != "L") || i + 2 >= tokens_.size())
            Fail("a path is made of \"M x y\", \"L x y\" and \"Z\"");
        if (op == "M" || path.empty())
            path.emplace_back();
        path.back().points.push_back({Real(tokens_[i + 1], -1000, 1000), Real(tokens_[i + 2], -1000, 1000)});
        i += 3;
    }
    if (path.empty())
        Fail("the path is empty");
    return path;
}

void TSkinReader::ParseGlyph() {
    if (tokens_.size() != 2 && tokens_.size() != 3)
        Fail("expected \"glyph NAME [SIZE]\"");
    auto glyph = std::make_shared<TGlyph>();
    if (tokens_.size() == 3)
        glyph->size = Real(tokens_[2], 1, 1000);
    std::string name = tokens_[1];
    int points = 0;
    Block("the glyph \"" + name + "\"", [&] {
        TGlyphOp op;
        const std::string& kind = tokens_[0];
        auto values = [&](size_t n) {
            if (tokens_.size() != n + 1)
                Fail("\"" + kind + "\" takes " + std::to_string(n) + " numbers");
            for (size_t i = 0; i < n; ++i)
                op.values[i] = Real(tokens_[i + 1], -1000, 1000);
        };
        if (kind == "stroke") {
            op.kind = TGlyphOp::Kind::Stroke;
            if (tokens_.size() < 2)
                Fail("expected \"stroke WIDTH path\"");
            op.width = Real(tokens_[1], 0.1f, 100);
            op.path = Path(2);
        } else if (kind == "fill") {
            op.kind = TGlyphOp::Kind::Fill;
            op.path = Path(1);
        } else if (kind == "circle") {
            op.kind = TGlyphOp::Kind::Circle;
            values(3);
        } else if (kind == "ring") {
            op.kind = TGlyphOp::Kind::Ring;
            values(4);
        } else if (kind == "arc") {
            op.kind = TGlyphOp::Kind::Stroke;
            values(6);
            op.width = op.values[5];
            op.path = {ArcPoints(op.values[0], op.values[1], op.values[2], op.values[3], op.values[4])};
        } else if (kind == "pie") {
            op.kind = TGlyphOp::Kind::Fill;
            values(5);
            TPolyline sector =
                ArcPoints(op.values[0], op.values[1], op.values[2], op.values[3], op.values[4]);
            sector.points.insert(sector.points.begin(), {op.values[0], op.values[1]});
            sector.closed = true;
            op.path = {sector};
        } else if (kind == "rect") {
            op.kind = TGlyphOp::Kind::Rect;
            values(5);
        } else {
            Fail("unknown glyph shape \"" + kind + "\"");
        }
        CountGlyphPoints(name, points, OpPoints(op));
        glyph->ops.push_back(std::move(op));
    });
    glyphs_[name] = glyph;
}

// Bounds the points of one glyph and of all the skin's glyphs, read up to the current line.
void TSkinReader::CountGlyphPoints(const std::string& glyph, int& points, int more) {
    points += more;
    glyphPoints_ += more;
    if (points > kMaxGlyphPoints)
        Fail("the glyph \"" + glyph + "\" has more than " + std::to_string(kMaxGlyphPoints) +
             " points (a circle, ring or box counts one)");
    if (glyphPoints_ > kMaxSkinGlyphPoints)
        Fail("the glyphs of the skin have more than " + std::to_string(kMaxSkinGlyphPoints) +
             " points in all");
}

void TSkinReader::Attributes(size_t first,
                             const std::function<bool(const std::string&, const std::string&)>& apply) {
    for (size_t i = first; i < tokens_.size(); ++i) {
        size_t eq = tokens_[i].find('=');
        std::string key = tokens_[i].substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : tokens_[i].substr(eq + 1);
        if (!apply(key, value))
            Fail("unknown attribute \"" + key + "\"");
    }
}

} // namespace vireon::skin
