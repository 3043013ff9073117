// The skin's own typeface: font files named by the skin are loaded for this process while the skin
// is in use; a face the process lacks falls back to the platform's default face, and a missing or
// broken font file leaves the skin usable.
#include "SkinTestSupport.h"

#include "SkinPainter.h"
#include "TPrivateFonts.h"
#include "TSkin.h"
#include "TSkinWindow.h"

#include <string>

using namespace vireon::skin;
using Microsoft::WRL::ComPtr;

namespace {

std::wstring FaceOf(HFONT font) {
    LOGFONTW logical{};
    GetObjectW(font, sizeof(logical), &logical);
    return logical.lfFaceName;
}

// The face GDI really draws with when the font is selected.
std::wstring DrawnFace(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteDC(dc);
    return face;
}

std::wstring PlatformFace() {
    LOGFONTW logical{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logical), &logical);
    return logical.lfFaceName;
}

std::wstring ShippedFont(const char* name) {
    return skintest::Wide(VIREON_BUILD_DIR "/bin/skins/") + skintest::Wide(name);
}

} // namespace

TEST(SkinFonts, TheSkinsFontFilesAreLoadedForThisProcess) {
    TPrivateFonts fonts({ShippedFont("Inter-Regular.otf"), ShippedFont("Inter-Bold.otf")}, "DVDTest.skn");
    EXPECT_EQ(fonts.Loaded(), 2u);
    TFontCache cache;
    EXPECT_EQ(FaceOf(cache.Get(L"Inter,Tahoma", 12, false, false)), L"Inter");
    EXPECT_EQ(DrawnFace(cache.Get(L"Inter,Tahoma", 12, true, false)), L"Inter");
    // A face the process lacks is passed over for the next of the list.
    EXPECT_EQ(FaceOf(cache.Get(L"No Such Face, Inter", 12, false, false)), L"Inter");
}

TEST(SkinFonts, AFaceNobodyHasFallsBackToThePlatformsDefaultFace) {
    TFontCache cache;
    ASSERT_FALSE(PlatformFace().empty());
    EXPECT_EQ(FaceOf(cache.Get(L"No Such Face", 12, false, false)), PlatformFace());
    EXPECT_EQ(FaceOf(cache.Get(L"No Such Face,Neither This", 12, false, false)), PlatformFace());
    EXPECT_EQ(FaceOf(cache.Get(L"", 12, false, false)), PlatformFace());
}

TEST(SkinFonts, AMissingOrBrokenFontFileLeavesTheSkinUsable) {
    std::wstring broken = skintest::WriteScratch("Broken.otf", "not a font at all");
    TPrivateFonts fonts({skintest::Wide(VIREON_BUILD_DIR "/bin/skins/Missing.otf"), broken}, "test.skn");
    EXPECT_EQ(fonts.Loaded(), 0u);
    // A skin naming them loads, and draws its text in the platform's face.
    std::wstring path = skintest::WriteScratch(
        "fonts.skn", "vireon-skin 1\n"
                     "font Missing.otf\n"
                     "font Broken.otf\n"
                     "form AboutDlg 200 50\n"
                     "  static lbText 0 0 200 50 text=\"Hello\" font=\"Missing Face\"\n"
                     "end\n");
    ComPtr<TSkin> skin = TSkin::Create();
    ASSERT_NO_THROW(skin->LoadSkin(path));
    ASSERT_EQ(skin->Data()->fontFiles.size(), 2u);
    EXPECT_EQ(skin->Data()->fontFiles[1], broken);
    skintest::TestWindow window;
    ASSERT_NO_THROW(skin->ApplySkinForm(window.get(), L"AboutDlg"));
    TSkinFormView& view = skin->Find(window.get())->View();
    EXPECT_EQ(FaceOf(view.Fonts().Get(L"Missing Face", 12, false, false)), PlatformFace());
}

TEST(SkinFonts, AFontFileLiesBesideTheSkin) {
    for (const char* name : {"../Inter.otf", "fonts/Inter.otf", "C:Inter.otf", ".."}) {
        SCOPED_TRACE(name);
        std::string text = std::string("vireon-skin 1\nfont ") + name + "\nform F 10 10\nend\n";
        EXPECT_THROW(ParseSkinText(text, L"x.skn"), ESkinError);
    }
    auto data = ParseSkinText("vireon-skin 1\nfont Inter.otf\nform F 10 10\nend\n", L"Z:\\skins\\x.skn");
    ASSERT_EQ(data->fontFiles.size(), 1u);
    EXPECT_EQ(data->fontFiles[0], L"Z:\\skins\\Inter.otf");
}
