// The skin file reader. The format is described in SKIN_FORMAT.md beside this file.
#include "SkinData.h"

#include "common/TextConversion.h"
#include "TgaImage.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace vireon::skin {

bool SameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), int(a.size()),
                                                  b.data(), int(b.size())) == CSTR_EQUAL;
}

const TFormDef* TSkinData::FindForm(const std::wstring& name) const {
    for (const TFormDef& form : forms)
        if (SameName(form.name, name))
            return &form;
    return nullptr;
}

namespace {

constexpr int kMaxCoordinate = 16384;
constexpr int kHeaderVersion = 1;

class TParser {
public:
    TParser(const std::string& text, const std::wstring& path) : text_(text), name_(Utf8FromWide(path)) {
        data_ = std::make_shared<TSkinData>();
        data_->path = path;
    }

    std::shared_ptr<TSkinData> Run() {
        if (text_.find('\0') != std::string::npos)
            throw ESkinError(name_ + ": not a skin file (it holds binary data)");
        bool header = false;
        while (NextLine()) {
            if (!header) {
                if (tokens_.size() != 2 || tokens_[0] != "vireon-skin")
                    Fail("expected the header \"vireon-skin " + std::to_string(kHeaderVersion) + "\"");
                if (Integer(tokens_[1], 1, 1000) != kHeaderVersion)
                    Fail("unsupported skin version " + tokens_[1]);
                header = true;
                continue;
            }
            const std::string& keyword = tokens_[0];
            if (keyword == "colour" || keyword == "color")
                ParseColourDefinition();
            else if (keyword == "glyph")
                ParseGlyph();
            else if (keyword == "style")
                ParseStyle();
            else if (keyword == "form")
                ParseForm();
            else if (keyword == "font")
                ParseFontFile();
            else
                Fail("unknown keyword \"" + keyword + "\"");
        }
        if (!header)
            throw ESkinError(name_ + ": the file is empty");
        if (data_->forms.empty())
            throw ESkinError(name_ + ": the skin defines no form");
        return data_;
    }

private:
    [[noreturn]] void Fail(const std::string& why) const {
        throw ESkinError(name_ + ", line " + std::to_string(line_) + ": " + why);
    }

    // Splits the next non-empty line into tokens; false at the end of the text.
    bool NextLine() {
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

    void Tokenize(const std::string& line) {
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

    int Integer(const std::string& text, int low, int high) const {
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

    float Real(const std::string& text, float low, float high) const {
        char* end = nullptr;
        double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0')
            Fail("\"" + text + "\" is not a number");
        if (!(value >= low && value <= high))
            Fail("the number " + text + " is out of range");
        return float(value);
    }

    uint32_t Colour(const std::string& text) const {
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

    void Expect(size_t count, const std::string& form) const {
        if (tokens_.size() != count)
            Fail("expected \"" + form + "\"");
    }

    // A font file beside the skin; whether it loads is found out when the skin is loaded.
    void ParseFontFile() {
        Expect(2, "font FILE");
        const std::string& file = tokens_[1];
        if (file.find_first_of("/\\:") != std::string::npos || file == "." || file == "..")
            Fail("the font file \"" + file + "\" must lie beside the skin (a name without a folder)");
        std::wstring path = data_->path;
        size_t slash = path.find_last_of(L"/\\");
        path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
        data_->fontFiles.push_back(path + WideFromUtf8(file));
    }

    void ParseColourDefinition() {
        Expect(3, "colour NAME #RRGGBB");
        colours_[tokens_[1]] = Colour(tokens_[2]);
    }

    // key=value pairs from token `first` on, handed to `apply`; bare words arrive with an empty value.
    void Attributes(size_t first, const std::function<bool(const std::string&, const std::string&)>& apply) {
        for (size_t i = first; i < tokens_.size(); ++i) {
            size_t eq = tokens_[i].find('=');
            std::string key = tokens_[i].substr(0, eq);
            std::string value = eq == std::string::npos ? std::string() : tokens_[i].substr(eq + 1);
            if (!apply(key, value))
                Fail("unknown attribute \"" + key + "\"");
        }
    }

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

    std::vector<TPolyline> Path(size_t first) {
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
            path.back().points.push_back(
                {Real(tokens_[i + 1], -1000, 1000), Real(tokens_[i + 2], -1000, 1000)});
            i += 3;
        }
        if (path.empty())
            Fail("the path is empty");
        return path;
    }

    void ParseGlyph() {
        if (tokens_.size() != 2 && tokens_.size() != 3)
            Fail("expected \"glyph NAME [SIZE]\"");
        auto glyph = std::make_shared<TGlyph>();
        if (tokens_.size() == 3)
            glyph->size = Real(tokens_[2], 1, 1000);
        std::string name = tokens_[1];
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
            glyph->ops.push_back(std::move(op));
        });
        glyphs_[name] = glyph;
    }

    void ParseStyle() {
        if (tokens_.size() < 2)
            Fail("expected \"style NAME [radius=R]\"");
        TButtonStyle style;
        std::string name = tokens_[1];
        Attributes(2, [&](const std::string& key, const std::string& value) {
            if (key != "radius")
                return false;
            style.radius = Real(value, 0, 1000);
            return true;
        });
        std::array<bool, bsCount> given{};
        Block("the style \"" + name + "\"", [&] {
            static const char* names[] = {"normal", "hover", "pressed", "disabled"};
            auto found = std::find(std::begin(names), std::end(names), tokens_[0]);
            if (found == std::end(names))
                Fail("unknown button state \"" + tokens_[0] + "\" (normal, hover, pressed, disabled)");
            int index = int(found - std::begin(names));
            if (index != bsNormal && !given[bsNormal])
                Fail("the normal state comes first in a style");
            TButtonLook look = index == bsNormal ? TButtonLook{} : style.states[bsNormal];
            Attributes(1, [&](const std::string& key, const std::string& value) {
                if (key == "fill")
                    look.fill = Colour(value);
                else if (key == "border")
                    look.border = Colour(value);
                else if (key == "glyph")
                    look.glyph = Colour(value);
                else if (key == "offset")
                    look.offset = Integer(value, 0, 8);
                else
                    return false;
                return true;
            });
            style.states[index] = look;
            given[index] = true;
        });
        if (!given[bsNormal])
            Fail("the style \"" + name + "\" has no normal state");
        // States left out look like the normal one.
        for (int state = bsHover; state < bsCount; ++state)
            if (!given[state])
                style.states[state] = style.states[bsNormal];
        styles_[name] = style;
    }

    RECT Rectangle(size_t first) const {
        int x = Integer(tokens_[first], -kMaxCoordinate, kMaxCoordinate);
        int y = Integer(tokens_[first + 1], -kMaxCoordinate, kMaxCoordinate);
        int w = Integer(tokens_[first + 2], 0, kMaxCoordinate);
        int h = Integer(tokens_[first + 3], 0, kMaxCoordinate);
        return {x, y, x + w, y + h};
    }

    TAnchors Anchors(const std::string& value) const {
        if (value.empty() || value.find_first_not_of("lrtb") != std::string::npos)
            Fail("an anchor is made of the letters l, r, t and b");
        TAnchors a;
        a.right = value.find('r') != std::string::npos;
        a.left = value.find('l') != std::string::npos || !a.right;
        a.bottom = value.find('b') != std::string::npos;
        a.top = value.find('t') != std::string::npos || !a.bottom;
        return a;
    }

    void ParseForm() {
        Expect(4, "form NAME WIDTH HEIGHT");
        TFormDef form;
        form.name = WideFromUtf8(tokens_[1]);
        form.line = line_;
        form.width = Integer(tokens_[2], 1, kMaxCoordinate);
        form.height = Integer(tokens_[3], 1, kMaxCoordinate);
        if (data_->FindForm(form.name))
            Fail("the form \"" + tokens_[1] + "\" is defined twice");
        Block("the form \"" + tokens_[1] + "\"", [&] { ParseFormLine(form); });
        data_->forms.push_back(std::move(form));
    }

    void ParseFormLine(TFormDef& form) {
        const std::string& keyword = tokens_[0];
        if (keyword == "frame") {
            Expect(5, "frame LEFT TOP RIGHT BOTTOM");
            form.frame = {Integer(tokens_[1], 0, kMaxCoordinate), Integer(tokens_[2], 0, kMaxCoordinate),
                          Integer(tokens_[3], 0, kMaxCoordinate), Integer(tokens_[4], 0, kMaxCoordinate)};
            if (form.frame.Left + form.frame.Right > form.width ||
                form.frame.Top + form.frame.Bottom > form.height)
                Fail("the frame is larger than the form");
        } else if (keyword == "background") {
            Attributes(1, [&](const std::string& key, const std::string& value) {
                if (key == "fill")
                    form.fill = form.fill2 = Colour(value);
                else if (key == "fill2")
                    form.fill2 = Colour(value);
                else if (key == "outline")
                    form.outline = Colour(value);
                else
                    return false;
                return true;
            });
        } else if (keyword == "menu") {
            ParseMenuLook(form.menu);
        } else if (keyword == "drag") {
            if (tokens_.size() < 5)
                Fail("expected \"drag X Y W H [anchor=..]\"");
            TDragArea area{Rectangle(1), {}};
            Attributes(5, [&](const std::string& key, const std::string& value) {
                if (key != "anchor")
                    return false;
                area.anchors = Anchors(value);
                return true;
            });
            form.drag.push_back(area);
        } else if (keyword == "panel" || keyword == "button" || keyword == "scrollbar" ||
                   keyword == "static") {
            ParseObject(form);
        } else {
            Fail("unknown keyword \"" + keyword + "\" in a form");
        }
    }

    void ParseMenuLook(TMenuLook& menu) {
        Attributes(1, [&](const std::string& key, const std::string& value) {
            std::pair<const char*, uint32_t*> colours[] = {
                {"bar", &menu.barFill},         {"text", &menu.barText},
                {"hot", &menu.hotFill},         {"hottext", &menu.hotText},
                {"popup", &menu.popupFill},     {"popuptext", &menu.popupText},
                {"popuphot", &menu.popupHot},   {"disabled", &menu.disabledText},
                {"separator", &menu.separator}, {"border", &menu.border}};
            for (auto& [name, target] : colours)
                if (key == name) {
                    *target = Colour(value);
                    return true;
                }
            if (key == "font")
                menu.font = WideFromUtf8(value);
            else if (key == "size")
                menu.fontSize = Integer(value, 6, 72);
            else
                return false;
            return true;
        });
    }

    void ParseObject(TFormDef& form) {
        if (tokens_.size() < 6)
            Fail("expected \"" + tokens_[0] + " NAME X Y W H [attributes]\"");
        TObjectDef object;
        static const std::map<std::string, TObjectKind> kinds = {{"panel", TObjectKind::Panel},
                                                                 {"button", TObjectKind::Button},
                                                                 {"scrollbar", TObjectKind::ScrollBar},
                                                                 {"static", TObjectKind::Static}};
        object.kind = kinds.at(tokens_[0]);
        object.name = WideFromUtf8(tokens_[1]);
        object.line = line_;
        object.rect = Rectangle(2);
        for (const TObjectDef& other : form.objects)
            if (SameName(other.name, object.name))
                Fail("the object \"" + tokens_[1] + "\" is defined twice (first on line " +
                     std::to_string(other.line) + ")");
        bool styled = false;
        Attributes(6, [&](const std::string& key, const std::string& value) {
            return CommonAttribute(object, key, value) || KindAttribute(object, key, value, styled);
        });
        if (object.kind == TObjectKind::Button && !object.glyph)
            Fail("the button \"" + tokens_[1] + "\" has no glyph");
        if (object.kind == TObjectKind::Button && !styled)
            Fail("the button \"" + tokens_[1] + "\" has no style");
        form.objects.push_back(std::move(object));
    }

    bool CommonAttribute(TObjectDef& object, const std::string& key, const std::string& value) {
        if (key == "anchor")
            object.anchors = Anchors(value);
        else if (key == "hidden")
            object.visible = false;
        else if (key == "tip")
            object.tip = WideFromUtf8(value);
        else if (key == "fill")
            object.fill = object.fill2 = Colour(value);
        else if (key == "fill2")
            object.fill2 = Colour(value);
        else if (key == "border")
            object.border = Colour(value);
        else if (key == "radius")
            object.radius = Real(value, 0, 1000);
        else
            return false;
        return true;
    }

    bool KindAttribute(TObjectDef& object, const std::string& key, const std::string& value, bool& styled) {
        switch (object.kind) {
        case TObjectKind::Panel:
            return PanelAttribute(object, key, value);
        case TObjectKind::Button:
            return ButtonAttribute(object, key, value, styled);
        case TObjectKind::ScrollBar:
            return ScrollBarAttribute(object, key, value);
        case TObjectKind::Static:
            return StaticAttribute(object, key, value);
        }
        return false;
    }

    bool GlyphAttribute(TObjectDef& object, const std::string& key, const std::string& value) {
        if (key == "glyph") {
            auto found = glyphs_.find(value);
            if (found == glyphs_.end())
                Fail("unknown glyph \"" + value + "\"");
            object.glyph = found->second;
        } else if (key == "glyphsize") {
            object.glyphSize = Integer(value, 1, 512);
        } else {
            return false;
        }
        return true;
    }

    bool PanelAttribute(TObjectDef& object, const std::string& key, const std::string& value) {
        if (key == "colour" || key == "color")
            object.colour = Colour(value);
        else
            return GlyphAttribute(object, key, value);
        return true;
    }

    bool ButtonAttribute(TObjectDef& object, const std::string& key, const std::string& value, bool& styled) {
        if (GlyphAttribute(object, key, value)) {
            return true;
        } else if (key == "style") {
            auto found = styles_.find(value);
            if (found == styles_.end())
                Fail("unknown style \"" + value + "\"");
            object.style = found->second;
            styled = true;
        } else if (key == "command") {
            if (value == "minimize")
                object.command = TSysCommand::Minimize;
            else if (value == "close")
                object.command = TSysCommand::Close;
            else
                Fail("unknown command \"" + value + "\" (minimize, close)");
        } else {
            return false;
        }
        return true;
    }

    bool ScrollBarAttribute(TObjectDef& object, const std::string& key, const std::string& value) {
        if (key == "orient") {
            if (value != "h" && value != "v")
                Fail("orient is h or v");
            object.vertical = value == "v";
        } else if (key == "step") {
            object.step = Integer(value, 1, 1 << 30);
        } else if (key == "max") {
            object.max = Integer(value, 0, 1 << 30);
        } else if (key == "track") {
            object.track = Colour(value);
        } else if (key == "trackwidth") {
            object.trackWidth = Integer(value, 0, 1000);
        } else if (key == "thumb") {
            object.thumb = object.thumbHover = Colour(value);
        } else if (key == "thumbhover") {
            object.thumbHover = Colour(value);
        } else if (key == "thumbsize") {
            object.thumbSize = Integer(value, 1, 1000);
        } else {
            return false;
        }
        return true;
    }

    bool StaticAttribute(TObjectDef& object, const std::string& key, const std::string& value) {
        if (key == "text")
            object.text = WideFromUtf8(value);
        else if (key == "font")
            object.font = WideFromUtf8(value);
        else if (key == "size")
            object.fontSize = Integer(value, 4, 200);
        else if (key == "bold")
            object.bold = true;
        else if (key == "underline")
            object.underline = true;
        else if (key == "colour" || key == "color")
            object.colour = Colour(value);
        else if (key == "align") {
            if (value == "left")
                object.align = TAlign::Left;
            else if (value == "center" || value == "centre")
                object.align = TAlign::Center;
            else if (value == "right")
                object.align = TAlign::Right;
            else
                Fail("align is left, center or right");
        } else
            return false;
        return true;
    }

    const std::string& text_;
    std::string name_;
    size_t pos_ = 0;
    int line_ = 0;
    std::vector<std::string> tokens_;
    std::map<std::string, uint32_t> colours_;
    std::map<std::string, std::shared_ptr<const TGlyph>> glyphs_;
    std::map<std::string, TButtonStyle> styles_;
    std::shared_ptr<TSkinData> data_;
};

} // namespace

std::shared_ptr<TSkinData> ParseSkinText(const std::string& text, const std::wstring& path) {
    return TParser(text, path).Run();
}

std::shared_ptr<TSkinData> ParseSkinFile(const std::wstring& path) {
    std::vector<uint8_t> bytes = ReadFileBytes(path, kMaxSkinFileSize);
    return ParseSkinText(std::string(bytes.begin(), bytes.end()), path);
}

} // namespace vireon::skin
