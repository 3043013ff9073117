// The "Insufficient decoders" dialog: its texts, the picture blended over the face colour (checked
// pixel by pixel against the alpha arithmetic), no picture for a missing or broken file, the web
// button through the shell-open seam, and ShowCodecMessage ending by Escape.
#include "shell/TCodecMessageDlg.h"

#include "forms/TApplication.h"
#include "ShellOpenLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

using namespace vireon;

namespace {

struct TPixel {
    uint8_t B, G, R, A;
};

// A 32-bit uncompressed TGA, top-down rows, straight alpha.
std::string WriteTga(const std::string& Name, int Width, int Height, const std::vector<TPixel>& Pixels,
                     size_t Cut = 0) {
    std::vector<uint8_t> bytes = {0,
                                  0,
                                  2,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  uint8_t(Width),
                                  uint8_t(Width >> 8),
                                  uint8_t(Height),
                                  uint8_t(Height >> 8),
                                  32,
                                  0x28};
    for (const TPixel& p : Pixels)
        bytes.insert(bytes.end(), {p.B, p.G, p.R, p.A});
    bytes.resize(bytes.size() - Cut);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "vireon-codec-" + Name + ".tga";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

// The picture the dialog shows, as 0x00RRGGBB values, top row first.
std::vector<uint32_t> PixelsOf(HBITMAP Bitmap, int Width, int Height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(size_t(Width) * Height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, Bitmap, 0, Height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

class CodecDialogTest : public testing::Test {
protected:
    TCodecMessageDlg* Make(const std::string& Picture) {
        dialog = new TCodecMessageDlg(&Application(), Picture);
        return dialog;
    }
    void TearDown() override {
        if (dialog)
            FreeComponent(dialog);
    }
    TCodecMessageDlg* dialog = nullptr;
};

TEST_F(CodecDialogTest, TextsAndButtons) {
    TCodecMessageDlg* form = Make(TCodecMessageDlg::DefaultPicture());
    EXPECT_EQ("Insufficient decoders", form->Caption());
    EXPECT_EQ(296, form->ClientWidth());
    EXPECT_EQ(148, form->ClientHeight());
    EXPECT_EQ("Tahoma", form->Font().Name());
    EXPECT_EQ(poMainFormCenter, form->Position());
    EXPECT_EQ("Insufficient decoders to play media.", form->Label1->Caption());
    EXPECT_TRUE(form->Label1->Font().Style() & fsBold);
    EXPECT_EQ("Vireon can not play becouse a compatable decoders is not installed on your computer.",
              form->Label2->Caption());
    EXPECT_TRUE(form->Label2->WordWrap());
    EXPECT_EQ("Try to download lates codec pack from our site www.vireon.example", form->Label3->Caption());
    EXPECT_TRUE(form->Label3->WordWrap());
    EXPECT_EQ("Go to WEB", form->bnWeb->Caption());
    EXPECT_EQ("Close", form->bnClose->Caption());
    EXPECT_TRUE(form->bnClose->Default());
    EXPECT_TRUE(form->bnClose->Cancel());
    EXPECT_EQ(mrCancel, form->bnClose->ModalResult());
    // The shipped picture, at (8, 32) and sized by it.
    EXPECT_EQ(8, form->Image1->Left());
    EXPECT_EQ(32, form->Image1->Top());
    EXPECT_NE(nullptr, form->Image1->Bitmap());
    EXPECT_EQ(64, form->Image1->Width());
    EXPECT_EQ(64, form->Image1->Height());
    // Upright: the amber warning badge stands at the lower right of the disc.
    const std::vector<uint32_t> shown = PixelsOf(form->Image1->Bitmap(), 64, 64);
    auto amber = [&](int X, int Y) {
        const uint32_t p = shown[size_t(Y) * 64 + X];
        return ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) > 120 && (p & 0xFF) < 110;
    };
    EXPECT_TRUE(amber(40, 58));
    EXPECT_FALSE(amber(40, 5));
}

TEST_F(CodecDialogTest, ThePictureIsBlendedOverTheFaceColourByItsAlpha) {
    const std::vector<TPixel> source = {{0, 0, 255, 255},   {255, 0, 0, 128},   {0, 255, 0, 0},
                                        {10, 200, 90, 64},  {255, 255, 255, 1}, {0, 0, 0, 254},
                                        {40, 80, 160, 200}, {0, 0, 0, 0}};
    TCodecMessageDlg* form = Make(WriteTga("blend", 4, 2, source));
    ASSERT_NE(nullptr, form->Image1->Bitmap());
    ASSERT_EQ(4, form->Image1->Width());
    ASSERT_EQ(2, form->Image1->Height());
    const COLORREF face = ColorToRGB(form->Color());
    const std::vector<uint32_t> shown = PixelsOf(form->Image1->Bitmap(), 4, 2);
    for (size_t i = 0; i < source.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "pixel " << i);
        const TPixel& s = source[i];
        auto over = [&](int Colour, int Face) { return (Colour * s.A + Face * (255 - s.A)) / 255.0; };
        const double r = over(s.R, GetRValue(face)), g = over(s.G, GetGValue(face)),
                     b = over(s.B, GetBValue(face));
        EXPECT_NEAR(r, double((shown[i] >> 16) & 0xFF), 1.5);
        EXPECT_NEAR(g, double((shown[i] >> 8) & 0xFF), 1.5);
        EXPECT_NEAR(b, double(shown[i] & 0xFF), 1.5);
    }
}

TEST_F(CodecDialogTest, NoPictureWhenTheFileIsMissingOrBroken) {
    const std::vector<TPixel> pixels(16, TPixel{1, 2, 3, 255});
    std::string wrongHeader = WriteTga("header", 4, 4, pixels);
    {
        std::fstream file(wrongHeader, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(2);
        file.put(char(9)); // a colour-mapped, compressed image: not a kind the engine reads
        file.seekp(16);
        file.put(char(13));
    }
    for (const std::string& picture :
         {std::string("Z:\\no\\such\\folder\\Display.tga"), WriteTga("truncated", 4, 4, pixels, 10),
          WriteTga("empty", 0, 0, {}), wrongHeader, WriteTga("huge", 60000, 60000, pixels)}) {
        SCOPED_TRACE(picture);
        TCodecMessageDlg* form = nullptr;
        ASSERT_NO_THROW(form = Make(picture));
        EXPECT_EQ(nullptr, form->Image1->Bitmap());
        EXPECT_EQ("Insufficient decoders to play media.", form->Label1->Caption());
        FreeComponent(form);
        dialog = nullptr;
    }
}

TEST_F(CodecDialogTest, ShowCodecMessageEndsByEscapeOrTheWebButton) {
    shelltest::TShellOpenLog shell;
    std::vector<std::string>& opened = shell.Opened;
    // Escape, then Enter, on the dialog once it is up: each lands on "Close", which ends it.
    for (WORD key : {WORD(VK_RETURN), WORD(VK_ESCAPE)}) {
        SCOPED_TRACE(key);
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, nullptr);
        bool pressed = false;
        // The modal loop sees the thread's timer messages; the first that finds the dialog presses.
        Application().OnMessage = [&](MSG& Msg, bool&) {
            HWND shown = FindWindowA(nullptr, "Insufficient decoders");
            if (Msg.message != WM_TIMER || Msg.wParam != timer || pressed || !shown ||
                !IsWindowVisible(shown))
                return;
            pressed = true;
            PostMessageA(GetFocus() ? GetFocus() : shown, WM_KEYDOWN, key, 0);
        };
        ShowCodecMessage();
        Application().OnMessage = nullptr;
        KillTimer(nullptr, timer);
        EXPECT_TRUE(pressed);
        EXPECT_EQ(nullptr, FindWindowA(nullptr, "Insufficient decoders")) << "freed";
    }
    EXPECT_TRUE(opened.empty()) << "Escape and Enter land on \"Close\"";

    TCodecMessageDlg* form = Make(TCodecMessageDlg::DefaultPicture());
    form->bnWeb->Click();
    EXPECT_EQ(mrOk, form->ModalResult());
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ("http://www.vireon.example/?codecs=1||5", opened[0]);
}

} // namespace
