// Large TGA images: the decoder writes straight into the image it returns, and a 32-bit process that
// cannot find room for an image the size limit allows gets the skin's error, not std::bad_alloc.
#include "SkinTestSupport.h"

#include "TgaImage.h"
#include "skin/SkinInterfaces.h"

#include <psapi.h>

#include <vector>

using namespace vireon::skin;

namespace {

// A square 32-bit RLE image of one colour, in runs of 128 pixels: a few bytes a run.
std::vector<uint8_t> SolidRleTga(int side, uint32_t bgra) {
    std::vector<uint8_t> out(18, 0);
    out[2] = 10;
    out[12] = uint8_t(side), out[13] = uint8_t(side >> 8);
    out[14] = uint8_t(side), out[15] = uint8_t(side >> 8);
    out[16] = 32;
    out[17] = 8;
    size_t runs = (size_t(side) * side + 127) / 128;
    out.reserve(out.size() + runs * 5);
    for (size_t run = 0; run < runs; ++run)
        out.insert(out.end(),
                   {0xFF, uint8_t(bgra), uint8_t(bgra >> 8), uint8_t(bgra >> 16), uint8_t(bgra >> 24)});
    return out;
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

// Takes the address space in large pieces, leaving no room for a large image; gives it back after.
class TAddressSpaceHog {
public:
    TAddressSpaceHog() {
        constexpr size_t kPiece = 64u << 20;
        while (void* piece = VirtualAlloc(nullptr, kPiece, MEM_RESERVE, PAGE_NOACCESS))
            pieces_.push_back(piece);
    }
    ~TAddressSpaceHog() {
        for (void* piece : pieces_)
            VirtualFree(piece, 0, MEM_RELEASE);
    }
    TAddressSpaceHog(const TAddressSpaceHog&) = delete;
    TAddressSpaceHog& operator=(const TAddressSpaceHog&) = delete;
    size_t Pieces() const { return pieces_.size(); }

private:
    std::vector<void*> pieces_;
};

} // namespace

TEST(SkinTgaMemory, ALargeRleImageDecodesIntoItsOwnPixelsOnly) {
    constexpr int kSide = 4096;
    constexpr size_t kImageBytes = size_t(kSide) * kSide * 4; // 64 MB
    std::vector<uint8_t> file = SolidRleTga(kSide, 0xFF336699);
    PROCESS_MEMORY_COUNTERS before = Memory();
    TPixmap image = DecodeTga(file, "large.tga");
    PROCESS_MEMORY_COUNTERS after = Memory();
    EXPECT_EQ(image.Width(), kSide);
    EXPECT_EQ(image.At(0, 0), 0xFF336699u);
    EXPECT_EQ(image.At(kSide - 1, kSide - 1), 0xFF336699u);
    // A second buffer of decoded pixels beside the image would double the peak.
    ASSERT_GT(after.PeakWorkingSetSize, before.WorkingSetSize);
    EXPECT_LT(after.PeakWorkingSetSize - before.WorkingSetSize, kImageBytes * 5 / 4);
}

TEST(SkinTgaMemory, NoRoomForAnAllowedSizeIsTheSkinsError) {
    static_assert(sizeof(void*) == 4, "the player is a 32-bit program");
    std::vector<uint8_t> file = SolidRleTga(8192, 0xFF000000); // 2.6 MB for 256 MB of pixels
    TAddressSpaceHog hog;
    ASSERT_GT(hog.Pieces(), 0u);
    try {
        DecodeTga(file, "huge.tga");
        ADD_FAILURE() << "a 256 MB image fitted beside " << hog.Pieces() << " pieces of 64 MB";
    } catch (const ESkinError& error) {
        std::string message = error.what();
        EXPECT_EQ(message.rfind("huge.tga: not enough memory for an image of 8192 x 8192", 0), 0u) << message;
    }
    EXPECT_THROW(TPixmap(8192, 8192), ESkinError);
}
