// Reading skin files: a full valid file, every kind of error with its line, hostile input, and the
// shipped skin.
#include "SkinTestSupport.h"

#include "SkinData.h"
#include "TSkin.h"

#include <algorithm>
#include <map>

using namespace vireon::skin;
using Microsoft::WRL::ComPtr;
using skintest::Wide;

namespace {

const char* kValidSkin = R"(vireon-skin 1
# comment line
colour accent #3D8BFF
colour half   #FF000080
glyph play 20
  fill M 6 4 L 16 10 L 6 16 Z
  stroke 1.5 M 1 1 L 2 2
  circle 10 10 3
  ring 10 10 5 1
  arc 10 10 6 0 90 1.5
  pie 10 10 6 -90 90
  rect 1 1 4 4 1
end
style flat radius=6
  normal fill=none glyph=#C0C0C0
  hover fill=#202020
end
form MainForm 320 200
  frame 2 30 2 4
  background fill=#101010 fill2=#202020 outline=#303030
  menu bar=#111111 text=#EEEEEE font="Tahoma" size=11
  drag 0 0 320 30 anchor=lr
  panel pnScreen 2 50 316 100 fill=#000000 anchor=lrtb
  button bnPlay 10 160 32 32 glyph=play style=flat anchor=lb
  button bnClose 290 0 30 30 glyph=play style=flat anchor=r command=close
  scrollbar sbPosition 50 160 200 16 orient=h step=256 max=16384 thumb=accent track=half
  scrollbar sbVolume 300 150 12 40 orient=v step=500 max=10000 anchor=rb
  static lbFilmCaption 50 180 200 18 text="Hello world" font="Tahoma" size=12 bold colour=accent align=center
  static Site_h 0 0 10 10 underline hidden
end
form AboutDlg 348 211
end
)";

std::string ErrorOf(const std::string& text) {
    try {
        ParseSkinText(text, L"test.skn");
    } catch (const ESkinError& e) {
        return e.what();
    }
    return "no error";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

void ExpectError(const std::string& text, const std::string& where, const std::string& what) {
    std::string message = ErrorOf(text);
    EXPECT_NE(message.find("test.skn"), std::string::npos) << message;
    EXPECT_NE(message.find(where), std::string::npos) << message;
    EXPECT_NE(message.find(what), std::string::npos) << message;
}

} // namespace

TEST(SkinParser, ReadsEveryPartOfAValidFile) {
    auto data = ParseSkinText(kValidSkin, L"test.skn");
    ASSERT_EQ(data->forms.size(), 2u);
    const TFormDef* main = data->FindForm(L"mainform");
    ASSERT_TRUE(main);
    EXPECT_EQ(main->width, 320);
    EXPECT_EQ(main->height, 200);
    EXPECT_EQ(main->frame.Left, 2);
    EXPECT_EQ(main->frame.Top, 30);
    EXPECT_EQ(main->frame.Bottom, 4);
    EXPECT_EQ(main->fill, 0xFF101010u);
    EXPECT_EQ(main->menu.fontSize, 11);
    ASSERT_EQ(main->objects.size(), 7u);
    const TObjectDef& play = main->objects[1];
    EXPECT_EQ(play.kind, TObjectKind::Button);
    EXPECT_EQ(play.rect.right, 42);
    EXPECT_TRUE(play.anchors.left && play.anchors.bottom && !play.anchors.right && !play.anchors.top);
    ASSERT_TRUE(play.glyph);
    EXPECT_EQ(play.glyph->ops.size(), 7u);
    // A state left out takes the normal look; a state given starts from it.
    EXPECT_EQ(play.style.states[bsPressed].glyph, 0xFFC0C0C0u);
    EXPECT_EQ(play.style.states[bsHover].glyph, 0xFFC0C0C0u);
    EXPECT_EQ(play.style.states[bsHover].fill, 0xFF202020u);
    EXPECT_EQ(main->objects[2].command, TSysCommand::Close);
    const TObjectDef& position = main->objects[3];
    EXPECT_FALSE(position.vertical);
    EXPECT_EQ(position.step, 256);
    EXPECT_EQ(position.max, 16384);
    EXPECT_EQ(position.thumb, 0xFF3D8BFFu);
    EXPECT_EQ(position.track, 0x80FF0000u);
    EXPECT_TRUE(main->objects[4].vertical);
    const TObjectDef& caption = main->objects[5];
    EXPECT_EQ(caption.text, L"Hello world");
    EXPECT_TRUE(caption.bold);
    EXPECT_EQ(caption.align, TAlign::Center);
    EXPECT_FALSE(main->objects[6].visible);
    EXPECT_TRUE(main->objects[6].underline);
}

TEST(SkinParser, NamesTheLineOfEachKindOfError) {
    std::string skin = kValidSkin;
    ExpectError("", "test.skn", "empty");
    ExpectError("# only a comment\n", "test.skn", "empty");
    ExpectError("vireon-skin 2\n", "line 1", "unsupported skin version");
    ExpectError("hello\n", "line 1", "header");
    ExpectError(Replace(skin, "colour half   #FF000080", "colour half #12345"), "line 4", "not a colour");
    ExpectError(Replace(skin, "form AboutDlg", "frm AboutDlg"), "line 31", "unknown keyword \"frm\"");
    ExpectError(Replace(skin, "  panel pnScreen", "  panl pnScreen"), "line 23", "unknown keyword \"panl\"");
    ExpectError(Replace(skin, "fill=#000000 anchor=lrtb", "fil=#000000"), "line 23",
                "unknown attribute \"fil\"");
    ExpectError(Replace(skin, "glyph=play style=flat anchor=lb", "glyph=stop style=flat"), "line 24",
                "unknown glyph \"stop\"");
    ExpectError(Replace(skin, "glyph=play style=flat anchor=lb", "glyph=play"), "line 24", "has no style");
    ExpectError(Replace(skin, "  hover fill=#202020", "  hoover fill=#202020"), "line 16",
                "unknown button state");
    ExpectError(Replace(skin, "  normal fill=none glyph=#C0C0C0\n  hover fill=#202020",
                        "  hover fill=#202020\n  normal fill=none glyph=#C0C0C0"),
                "line 15", "normal state comes first");
    ExpectError(Replace(skin, "  ring 10 10 5 1", "  ring 10 10 5"), "line 9", "takes 4 numbers");
    ExpectError(Replace(skin, "  fill M 6 4 L 16 10", "  fill Q 6 4 L 16 10"), "line 6", "a path is made of");
    ExpectError(Replace(skin, "orient=v", "orient=x"), "line 27", "orient is h or v");
    ExpectError(Replace(skin, "text=\"Hello world\"", "text=\"Hello world"), "line 28", "no closing quote");
    ExpectError(Replace(skin, "static Site_h", "static lbFilmCaption"), "line 29",
                "defined twice (first on line 28)");
    ExpectError(Replace(skin, "form AboutDlg", "form MainForm"), "line 31", "defined twice");
    ExpectError(Replace(skin, "frame 2 30 2 4", "frame 200 30 200 4"), "line 19", "frame");
    ExpectError(Replace(skin, "anchor=lr\n", "anchor=x\n"), "line 22", "anchor");
}

TEST(SkinParser, RefusesAbsurdNumbers) {
    std::string skin = kValidSkin;
    ExpectError(Replace(skin, "pnScreen 2 50 316 100", "pnScreen 2 50 2147483648 100"), "line 23",
                "out of range");
    ExpectError(Replace(skin, "pnScreen 2 50 316 100", "pnScreen 2 50 -5 100"), "line 23", "out of range");
    ExpectError(Replace(skin, "pnScreen 2 50 316 100", "pnScreen 2 50 99999999999999999999999 100"),
                "line 23", "not a whole number");
    ExpectError(Replace(skin, "form MainForm 320 200", "form MainForm 100000 100000"), "line 18",
                "out of range");
    ExpectError(Replace(skin, "step=256", "step=0"), "line 26", "out of range");
    ExpectError(Replace(skin, "size=12 bold", "size=1e9 bold"), "line 28", "not a whole number");
}

TEST(SkinParser, ReportsATruncatedFileAtTheOpenBlock) {
    std::string skin = kValidSkin;
    std::string cut = skin.substr(0, skin.find("  button bnClose"));
    ExpectError(cut, "line 18", "the form \"MainForm\" has no \"end\" (the file is truncated)");
    ExpectError(skin.substr(0, skin.find("  stroke 1.5")), "line 5", "the glyph \"play\" has no \"end\"");
    ExpectError("vireon-skin 1\nform A 10 10\n" + std::string(3, '\0') + "end\n", "test.skn", "binary");
    ExpectError("vireon-skin 1\ncolour a #000000\n", "test.skn", "no form");
}

// A glyph of `points` points in one stroke, zigzagging across its box of 20 units.
std::string ZigzagGlyph(const std::string& name, int points) {
    std::string glyph = "glyph " + name + " 20\n  stroke 1 M 0 0";
    for (int i = 1; i < points; ++i)
        glyph += " L " + std::to_string(i % 2 * 20) + " " + std::to_string(i % 20);
    return glyph + "\nend\n";
}

std::string SkinWithButton(const std::string& glyphs, const std::string& glyph, int size) {
    return "vireon-skin 1\n" + glyphs + "style s\n  normal fill=none\nend\nform F 600 600\n  button b 0 0 " +
           std::to_string(size) + " " + std::to_string(size) + " style=s glyph=" + glyph +
           " glyphsize=" + std::to_string(size) + "\nend\n";
}

TEST(SkinParser, BoundsTheDrawingWorkOfItsGlyphs) {
    // Points per glyph: the file's line that goes past the bound is named.
    EXPECT_EQ(ErrorOf(SkinWithButton(ZigzagGlyph("g", 1000), "g", 20)), "no error");
    ExpectError(SkinWithButton(ZigzagGlyph("g", 1001), "g", 20), "line 3",
                "the glyph \"g\" has more than 1000 points");
    ExpectError(SkinWithButton(ZigzagGlyph("g", 5000), "g", 512), "line 3", "more than 1000 points");
    // Points of all glyphs together.
    std::string many;
    for (int i = 0; i < 21; ++i) {
        std::string name = "g";
        many += ZigzagGlyph(name += std::to_string(i), 1000);
    }
    ExpectError(SkinWithButton(many, "g0", 20), "line 63", "more than 20000 points in all");
    // Size: a glyph allowed at 24 pixels costs too much at 512, on the line of the button.
    EXPECT_EQ(ErrorOf(SkinWithButton(ZigzagGlyph("g", 1000), "g", 24)), "no error");
    ExpectError(SkinWithButton(ZigzagGlyph("g", 1000), "g", 512), "line 9", "\"b\" at 512 pixels");
    ExpectError(SkinWithButton(ZigzagGlyph("g", 1000), "g", 513), "line 9", "out of range");
    // A few points far outside a tiny box are as costly as many inside it.
    std::string wide = "glyph w 1\n  stroke 1 M -1000 -1000 L 1000 1000 L -1000 1000\nend\n";
    EXPECT_EQ(ErrorOf(SkinWithButton(wide, "w", 1)), "no error");
    ExpectError(SkinWithButton(wide, "w", 64), "line 9", "past its limit");
    // The sum over the objects counts: each button alone is fine, the sixth goes over.
    std::string buttons =
        "vireon-skin 1\n" + ZigzagGlyph("g", 500) + "style s\n  normal fill=none\nend\nform F 10 10\n";
    for (int i = 0; i < 10; ++i)
        buttons += "  button b" + std::to_string(i) + " 0 0 9 9 style=s glyph=g glyphsize=100\n";
    ExpectError(buttons + "end\n", "line 14", "\"b5\" at 100 pixels");
}

class SkinLoad : public testing::Test {
protected:
    ComPtr<TSkin> skin_ = TSkin::Create();

    void ExpectLoadError(const std::wstring& path, const std::string& what) {
        SCOPED_TRACE(what);
        try {
            skin_->LoadSkin(path);
            ADD_FAILURE() << "no error";
        } catch (const ESkinError& e) {
            std::string message = e.what();
            EXPECT_NE(message.find("skin-tests"), std::string::npos) << message;
            EXPECT_NE(message.find(what), std::string::npos) << message;
        }
    }
};

TEST_F(SkinLoad, BadFilesRaiseAndKeepThePreviousSkin) {
    skin_->LoadSkin(skintest::WriteScratch("good.skn", kValidSkin));
    ExpectLoadError(Wide(skintest::ScratchDir() + "/missing.skn"), "cannot open");
    ExpectLoadError(skintest::WriteScratch("empty.skn", ""), "empty");
    ExpectLoadError(skintest::WriteScratch("truncated.skn", std::string(kValidSkin).substr(0, 300)),
                    "truncated");
    ExpectLoadError(skintest::WriteScratch("keyword.skn", "vireon-skin 1\nwidget x\n"),
                    "line 2: unknown keyword");
    {
        // 50 MB of comments: refused by its size before it is read.
        std::string big(50 * 1024 * 1024, '#');
        ExpectLoadError(skintest::WriteScratch("big.skn", big), "too large");
    }
    skintest::TestWindow window;
    skin_->ApplySkinForm(window.get(), L"AboutDlg");
    EXPECT_EQ(skin_->GetSkinForm(window.get())->GetName(), L"AboutDlg");
    EXPECT_THROW(skin_->ApplySkinForm(window.get(), L"NoSuchForm"), ESkinError);
}

TEST_F(SkinLoad, ApplyBeforeLoadRaises) {
    skintest::TestWindow window;
    EXPECT_THROW(skin_->ApplySkin(window.get()), ESkinError);
    EXPECT_THROW(skin_->GetSkinForm(window.get()), ESkinError);
    EXPECT_THROW(skin_->ApplySkinForm(nullptr, L"MainForm"), ESkinError);
}

TEST_F(SkinLoad, ShippedSkinHasEveryFormAndObjectThePlayerNames) {
    skin_->LoadSkin(skintest::ShippedSkin());
    const TSkinData* data = skin_->Data();
    const TFormDef* about = data->FindForm(L"AboutDlg");
    ASSERT_TRUE(about);
    EXPECT_EQ(about->width, 348);
    EXPECT_EQ(about->height, 211);
    std::vector<std::wstring> stems = {
        L"sbPosition",  L"sbPositionLine", L"sbVolume",      L"sbVolumeLine", L"bnPlay",     L"bnPause",
        L"bnMuteOff",   L"lbFilmCaption",  L"lbFilmElapsed", L"bnPrev",       L"bnNext",     L"bnMenu",
        L"bnAudio",     L"bnSubtitles",    L"bnColors",      L"bnFullScreen", L"bnMaximize", L"bnStop",
        L"bnNextFrame", L"bnEject",        L"bnMute",        L"bnTopmost"};
    auto expectObject = [&](const wchar_t* formName, const std::wstring& name, TObjectKind kind) {
        const TFormDef* form = data->FindForm(formName);
        ASSERT_TRUE(form);
        auto found = std::find_if(form->objects.begin(), form->objects.end(),
                                  [&](const TObjectDef& o) { return o.name == name; });
        ASSERT_NE(found, form->objects.end()) << std::string(name.begin(), name.end());
        EXPECT_EQ(found->kind, kind) << std::string(name.begin(), name.end());
    };
    auto kindOf = [](const std::wstring& stem) {
        if (stem == L"sbPosition" || stem == L"sbVolume")
            return TObjectKind::ScrollBar;
        if (stem.rfind(L"lb", 0) == 0 || stem.find(L"Line") != std::wstring::npos)
            return TObjectKind::Static;
        return TObjectKind::Button;
    };
    expectObject(L"MainForm", L"pnScreen", TObjectKind::Panel);
    for (const std::wstring& stem : stems) {
        expectObject(L"MainForm", stem, kindOf(stem));
        expectObject(L"MiniControlForm", stem + L"_m", kindOf(stem));
    }
    expectObject(L"MiniControlForm", L"bnClose_m", TObjectKind::Button);
    expectObject(L"MiniControlForm", L"bnMinimize_m", TObjectKind::Button);
    expectObject(L"AboutDlg", L"Site", TObjectKind::Static);
    expectObject(L"AboutDlg", L"Site_h", TObjectKind::Static);
    // The lit link starts hidden, lies over the plain one and is drawn after it.
    auto site = std::find_if(about->objects.begin(), about->objects.end(),
                             [](const TObjectDef& o) { return o.name == L"Site"; });
    auto lit = std::find_if(about->objects.begin(), about->objects.end(),
                            [](const TObjectDef& o) { return o.name == L"Site_h"; });
    ASSERT_TRUE(site != about->objects.end() && lit != about->objects.end());
    EXPECT_FALSE(lit->visible);
    EXPECT_TRUE(site->visible);
    EXPECT_GT(lit - site, 0);
    EXPECT_TRUE(EqualRect(&lit->rect, &site->rect));
    EXPECT_EQ(data->forms.front().name, L"MainForm");
}

// What users see of the shipped skin: its button icons are one family, the volume slider of the main
// window can be set with the mouse, and the mini bar's visible buttons say different things.
TEST_F(SkinLoad, ShippedSkinIconsAreOneFamilyAndItsControlsFitTheHand) {
    skin_->LoadSkin(skintest::ShippedSkin());
    const TSkinData* data = skin_->Data();
    for (const TFormDef& form : data->forms)
        for (const TObjectDef& object : form.objects) {
            if (object.kind != TObjectKind::Button || !object.glyph)
                continue;
            SCOPED_TRACE(testing::Message() << std::string(object.name.begin(), object.name.end()));
            EXPECT_EQ(object.glyphSize, 20); // one size, so one stroke weight on screen
            for (const TGlyphOp& op : object.glyph->ops) {
                if (op.kind == TGlyphOp::Kind::Stroke)
                    EXPECT_FLOAT_EQ(op.width, 1.6f);
                else if (op.kind == TGlyphOp::Kind::Ring)
                    EXPECT_FLOAT_EQ(op.values[3], 1.6f);
                else if (op.kind == TGlyphOp::Kind::Circle) // a dot as wide as a line
                    EXPECT_LE(op.values[2], 1.0f);
                else
                    ADD_FAILURE() << "a filled shape among the line icons";
            }
        }

    auto find = [&](const wchar_t* formName, const std::wstring& name) -> const TObjectDef& {
        const TFormDef* form = data->FindForm(formName);
        auto found = std::find_if(form->objects.begin(), form->objects.end(),
                                  [&](const TObjectDef& o) { return o.name == name; });
        EXPECT_NE(found, form->objects.end());
        return *found;
    };
    const TObjectDef& volume = find(L"MainForm", L"sbVolume");
    EXPECT_GE(volume.rect.bottom - volume.rect.top - volume.thumbSize, 80);

    const TFormDef* mini = data->FindForm(L"MiniControlForm");
    std::map<std::wstring, std::wstring> tips;
    for (const TObjectDef& object : mini->objects) {
        if (object.kind != TObjectKind::Button)
            continue;
        if (!object.visible && object.name != L"bnPause_m" && object.name != L"bnMuteOff_m")
            continue; // never shown
        EXPECT_FALSE(object.tip.empty()) << std::string(object.name.begin(), object.name.end());
        auto [other, fresh] = tips.emplace(object.tip, object.name);
        EXPECT_TRUE(fresh) << std::string(object.name.begin(), object.name.end()) << " repeats the tip of "
                           << std::string(other->second.begin(), other->second.end());
    }

    // On an 800-pixel screen the texts keep room for a caption and for "00:31:07 / 01:48:02", and no
    // button lies over them.
    int shrink = mini->width - 800;
    RECT caption = find(L"MiniControlForm", L"lbFilmCaption_m").rect;
    RECT elapsed = find(L"MiniControlForm", L"lbFilmElapsed_m").rect;
    caption.right -= shrink;
    OffsetRect(&elapsed, -shrink, 0);
    EXPECT_GE(caption.right - caption.left, 400);
    EXPECT_GE(elapsed.right - elapsed.left, 150);
    EXPECT_LE(caption.right, elapsed.left);
    for (const TObjectDef& object : mini->objects) {
        if (object.kind != TObjectKind::Button)
            continue;
        RECT at = object.rect, overlap;
        if (object.anchors.right)
            OffsetRect(&at, -shrink, 0);
        EXPECT_FALSE(IntersectRect(&overlap, &at, &caption) || IntersectRect(&overlap, &at, &elapsed))
            << std::string(object.name.begin(), object.name.end());
    }
}
