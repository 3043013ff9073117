// The image object: TGA decoding in every supported layout, hostile files, and the blend arithmetic.
#include "SkinTestSupport.h"

#include "Raster.h"
#include "TSkinImage.h"
#include "TgaImage.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace vireon::skin;
using Microsoft::WRL::ComPtr;

namespace {

// Pixels of a 3 x 2 test picture, top row first, as straight 0xAARRGGBB.
const uint32_t kPicture[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF, 0x00000000, 0xFF102030};

struct TgaLayout {
    int bits;
    bool rle;
    bool topDown;
};

std::vector<uint8_t> EncodeTga(const TgaLayout& layout) {
    std::vector<uint8_t> out(18, 0);
    out[0] = 3; // an image id the reader must skip
    out[2] = layout.rle ? 10 : 2;
    out[12] = 3;
    out[14] = 2;
    out[16] = uint8_t(layout.bits);
    out[17] = uint8_t((layout.bits == 32 ? 8 : 0) | (layout.topDown ? 0x20 : 0));
    for (char c : {'i', 'd', '!'})
        out.push_back(uint8_t(c));
    auto pixel = [&](uint32_t argb) {
        out.push_back(uint8_t(argb));
        out.push_back(uint8_t(argb >> 8));
        out.push_back(uint8_t(argb >> 16));
        if (layout.bits == 32)
            out.push_back(uint8_t(argb >> 24));
    };
    for (int row = 0; row < 2; ++row) {
        const uint32_t* src = kPicture + 3 * (layout.topDown ? row : 1 - row);
        if (layout.rle) {
            // One raw packet of two pixels, then a run of one.
            out.push_back(0x01);
            pixel(src[0]);
            pixel(src[1]);
            out.push_back(0x80);
            pixel(src[2]);
        } else {
            for (int x = 0; x < 3; ++x)
                pixel(src[x]);
        }
    }
    return out;
}

std::string Bytes(const std::vector<uint8_t>& data) {
    return std::string(data.begin(), data.end());
}

} // namespace

TEST(SkinTga, DecodesBothEncodingsRowOrdersAndDepths) {
    for (TgaLayout layout :
         {TgaLayout{24, false, false}, TgaLayout{24, false, true}, TgaLayout{24, true, false},
          TgaLayout{32, false, false}, TgaLayout{32, true, true}, TgaLayout{32, false, true}}) {
        SCOPED_TRACE(testing::Message()
                     << layout.bits << " bits, rle " << layout.rle << ", top-down " << layout.topDown);
        TPixmap image = DecodeTga(EncodeTga(layout), "test.tga");
        ASSERT_EQ(image.Width(), 3);
        ASSERT_EQ(image.Height(), 2);
        for (int i = 0; i < 6; ++i) {
            uint32_t expected = kPicture[i];
            if (layout.bits == 24)
                expected |= 0xFF000000;
            EXPECT_EQ(image.At(i % 3, i / 3), Premultiply(expected)) << "pixel " << i;
        }
    }
}

TEST(SkinTga, LyingOrUnsupportedFilesRaiseWithTheName) {
    auto expectFailure = [](std::vector<uint8_t> data, const std::string& what) {
        SCOPED_TRACE(what);
        try {
            DecodeTga(data, "lying.tga");
            ADD_FAILURE() << "no error";
        } catch (const ESkinError& e) {
            std::string message = e.what();
            EXPECT_EQ(message.rfind("lying.tga", 0), 0u) << message;
            EXPECT_NE(message.find(what), std::string::npos) << message;
        }
    };
    std::vector<uint8_t> good = EncodeTga({32, false, false});
    expectFailure({good.begin(), good.begin() + 10}, "header is incomplete");
    expectFailure({good.begin(), good.end() - 1}, "truncated");
    std::vector<uint8_t> huge = good;
    huge[12] = huge[13] = huge[14] = huge[15] = 0xFF; // 65535 x 65535 promised
    expectFailure(huge, "out of range");
    std::vector<uint8_t> big = good;
    big[13] = 0x20; // 8195 x 2: allowed size, but the data is not there
    expectFailure(big, "truncated");
    std::vector<uint8_t> rle = EncodeTga({32, true, false});
    rle[21] = 0x7F; // a raw packet of 128 pixels in a 6-pixel image
    expectFailure(rle, "past the end");
    std::vector<uint8_t> mapped = good;
    mapped[2] = 1;
    expectFailure(mapped, "unsupported TGA type");
    std::vector<uint8_t> depth = good;
    depth[16] = 16;
    expectFailure(depth, "depth");
}

TEST(SkinImage, LoadFromFileKeepsTheOldPictureOnFailure) {
    ComPtr<TSkinImage> image = TSkinImage::Create();
    EXPECT_EQ(image->GetSize().cx, 0);
    image->LoadFromFile(skintest::WriteScratch("good.tga", Bytes(EncodeTga({32, true, false}))));
    EXPECT_EQ(image->GetSize().cx, 3);
    EXPECT_EQ(image->GetSize().cy, 2);
    std::vector<uint8_t> lying = EncodeTga({32, false, false});
    lying.resize(lying.size() - 4);
    EXPECT_THROW(image->LoadFromFile(skintest::WriteScratch("lying.tga", Bytes(lying))), ESkinError);
    EXPECT_THROW(image->LoadFromFile(skintest::Wide(skintest::ScratchDir() + "/absent.tga")), ESkinError);
    EXPECT_EQ(image->GetSize().cx, 3);
    EXPECT_EQ(image->Pixels().At(0, 0), 0xFFFF0000u);
}

TEST(SkinImage, ShippedDisplayPictureLoads) {
    ComPtr<TSkinImage> image = TSkinImage::Create();
    image->LoadFromFile(skintest::Wide(VIREON_BUILD_DIR "/bin/skins/Display.tga"));
    EXPECT_EQ(image->GetSize().cx, 64);
    EXPECT_EQ(image->GetSize().cy, 64);
    EXPECT_EQ(image->Pixels().At(0, 0) >> 24, 0u);     // transparent corner
    EXPECT_EQ(image->Pixels().At(28, 14) >> 24, 255u); // on the disc
}

TEST(SkinImage, AbsurdSizesRaise) {
    ComPtr<TSkinImage> image = TSkinImage::Create();
    EXPECT_THROW(image->CreateImage(100000, 100000), ESkinError);
    EXPECT_THROW(image->CreateImage(-1, 5), ESkinError);
    image->CreateImage(4, 4);
    EXPECT_EQ(image->GetSize().cx, 4);
    EXPECT_EQ(image->Pixels().At(3, 3), 0u);
}

TEST(SkinImage, BlendArithmeticIsSourceOverByAlpha) {
    // Opaque source replaces; transparent keeps; half alpha mixes with rounding.
    EXPECT_EQ(BlendOver(0xFF112233, 0xFF445566), 0xFF445566u);
    EXPECT_EQ(BlendOver(0xFF112233, 0x00000000), 0xFF112233u);
    EXPECT_EQ(BlendOver(0xFF000000, Premultiply(0x80FFFFFF)), 0xFF808080u);
    EXPECT_EQ(BlendOver(0xFFFFFFFF, Premultiply(0x80000000)), 0xFF7F7F7Fu);
    EXPECT_EQ(Premultiply(0x80FF4020), 0x80802010u);
    EXPECT_EQ(BlendOver(0x00000000, Premultiply(0x80FF0000)), 0x80800000u);

    ComPtr<TSkinImage> face = TSkinImage::Create();
    ComPtr<TSkinImage> picture = TSkinImage::Create();
    face->CreateImage(4, 2);
    face->FillRect({0, 0, 4, 2}, 0xFFF0F0F0);
    picture->LoadFromFile(skintest::WriteScratch("blend.tga", Bytes(EncodeTga({32, false, true}))));
    face->BlendImage({1, 0, 4, 2}, {0, 0}, picture.Get());
    EXPECT_EQ(face->Pixels().At(0, 0), 0xFFF0F0F0u); // outside the rectangle
    EXPECT_EQ(face->Pixels().At(1, 0), 0xFFFF0000u);
    // Half-transparent white over 0xF0: 0xF0 * 127 / 255 + 0x80 = 247.5, rounded up.
    EXPECT_EQ(face->Pixels().At(1, 1), 0xFFF8F8F8u);
    EXPECT_EQ(face->Pixels().At(2, 1), 0xFFF0F0F0u); // fully transparent source pixel
    // A source origin past the picture's edge blends nothing.
    face->BlendImage({0, 0, 4, 2}, {5, 5}, picture.Get());
    EXPECT_EQ(face->Pixels().At(0, 0), 0xFFF0F0F0u);
    EXPECT_THROW(face->BlendImage({0, 0, 1, 1}, {0, 0}, nullptr), ESkinError);
}

TEST(SkinImage, DrawToPutsTheBlendedPictureOnADeviceContext) {
    ComPtr<TSkinImage> image = TSkinImage::Create();
    image->CreateImage(2, 2);
    image->FillRect({0, 0, 2, 2}, 0xFF3366CC);
    image->FillRect({1, 1, 2, 2}, 0x00000000);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 4, 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    image->DrawTo(dc, {1, 1, 3, 3});
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0x33, 0x66, 0xCC));
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

namespace {

// The coverage of each pixel of a rounded rectangle and of the one-pixel ring along its inside,
// worked out pixel by pixel from the signed distance to the edge.
float RoundRectDistance(float px, float py, float x, float y, float w, float h, float r) {
    r = std::min(r, std::min(w, h) / 2);
    float qx = std::fabs(px - (x + w / 2)) - (w / 2 - r), qy = std::fabs(py - (y + h / 2)) - (h / 2 - r);
    return std::hypot(std::max(qx, 0.f), std::max(qy, 0.f)) + std::min(std::max(qx, qy), 0.f) - r;
}

} // namespace

TEST(SkinRaster, RoundedRectanglesCoverEachPixelByItsDistanceToTheEdge) {
    struct TShape {
        float x, y, w, h, r;
    };
    // Whole and fractional places, thin and wide shapes, radii from none to more than fits, and
    // shapes reaching past the mask.
    for (const TShape& s :
         {TShape{0, 0, 40, 30, 6}, TShape{2.5f, 1.25f, 33.3f, 17.8f, 4.5f}, TShape{3, 4, 1.5f, 20, 3},
          TShape{-5, -3, 50, 40, 12}, TShape{1, 1, 38, 2, 0}, TShape{6, 2, 20, 25, 30}}) {
        SCOPED_TRACE(::testing::Message() << s.x << "," << s.y << " " << s.w << "x" << s.h << " r" << s.r);
        TMask fill(40, 30), ring(40, 30);
        fill.RoundRect(s.x, s.y, s.w, s.h, s.r);
        ring.RoundRectBorder(s.x, s.y, s.w, s.h, s.r, 1);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                float d = RoundRectDistance(x + 0.5f, y + 0.5f, s.x, s.y, s.w, s.h, s.r);
                ASSERT_NEAR(fill.At(x, y), std::clamp(0.5f - d, 0.f, 1.f), 1e-5f) << x << "," << y;
                ASSERT_NEAR(ring.At(x, y),
                            std::min(std::clamp(0.5f - d, 0.f, 1.f), std::clamp(1.5f + d, 0.f, 1.f)), 1e-5f)
                    << x << "," << y;
            }
    }
}

TEST(SkinRaster, ShapesAreAntiAliasedAtTheirEdges) {
    TMask mask(20, 20);
    mask.Circle(10, 10, 6.3f);
    EXPECT_FLOAT_EQ(mask.At(10, 10), 1.f);
    EXPECT_FLOAT_EQ(mask.At(0, 0), 0.f);
    EXPECT_FLOAT_EQ(mask.At(15, 10), 1.f);
    // The pixel the edge crosses is partly covered.
    EXPECT_GT(mask.At(16, 10), 0.f);
    EXPECT_LT(mask.At(16, 10), 1.f);
    TMask fill(10, 10);
    fill.Fill({{{{1, 1}, {9, 1}, {9, 9}, {1, 9}}, true}});
    EXPECT_FLOAT_EQ(fill.At(5, 5), 1.f);
    EXPECT_FLOAT_EQ(fill.At(0, 5), 0.f);
}
