// The skin file reader. The format is described in SKIN_FORMAT.md beside this file.
#include "SkinData.h"
#include "SkinReader.h"
#include "TgaImage.h"

#include "common/TextConversion.h"

#include <algorithm>
#include <array>
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

// The forms, styles and fonts of a skin file, on top of the reader's lines, colours and glyphs.
class TParser : public TSkinReader {
public:
    TParser(const std::string& text, const std::wstring& path) : TSkinReader(text, Utf8FromWide(path)) {
        data_ = std::make_shared<TSkinData>();
        data_->path = path;
    }

    std::shared_ptr<TSkinData> Run() {
        if (!ReadHeader())
            throw ESkinError(name_ + ": the file is empty");
        while (NextLine()) {
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
        if (data_->forms.empty())
            throw ESkinError(name_ + ": the skin defines no form");
        return data_;
    }

private:
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

    // Bounds the time drawing every glyph the objects show once takes.
    void CountGlyphWork(const TObjectDef& object) {
        glyphWork_ += GlyphWork(*object.glyph, object.glyphSize);
        if (glyphWork_ > kMaxSkinGlyphWork)
            Fail("the glyph of \"" + tokens_[1] + "\" at " + std::to_string(object.glyphSize) +
                 " pixels takes the drawing of the skin's glyphs past its limit (draw it smaller or with "
                 "fewer points)");
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
        if (object.glyph)
            CountGlyphWork(object);
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
            object.glyphSize = Integer(value, 1, kMaxGlyphSize);
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

    std::map<std::string, TButtonStyle> styles_;
    std::shared_ptr<TSkinData> data_;
    double glyphWork_ = 0;
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
