// A title's sectors read across the VOB files of its title set as one stream.
#include "dvdnav/VobRange.h"
#include "dvdnav/IfoReader.h"
#include "dvdnav/VobSpan.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path MakePart(const char* Name, char Fill, size_t Sectors) {
    fs::path Folder = fs::path(VIREON_BUILD_DIR) / "testtmp" / "range";
    fs::create_directories(Folder);
    std::ofstream(Folder / Name, std::ios::binary) << std::string(Sectors * 2048, Fill);
    return Folder / Name;
}

} // namespace

TEST(VobRange, ReadsAcrossTheVobFilesOfATitleSet) {
    std::vector<fs::path> Parts{MakePart("VTS_01_1.VOB", 'a', 3), MakePart("VTS_01_2.VOB", 'b', 3)};
    dvdnav::TVobRange Range(Parts, 2, 3);
    ASSERT_TRUE(Range.IsOpen());
    EXPECT_EQ(4096, Range.Length());
    std::string Bytes(5000, '?');
    EXPECT_EQ(4096u, Range.Read(0, reinterpret_cast<uint8_t*>(Bytes.data()), Bytes.size()));
    EXPECT_EQ('a', Bytes[2047]);
    EXPECT_EQ('b', Bytes[2048]);
    EXPECT_EQ('?', Bytes[4096]);
    EXPECT_EQ(10u, Range.Read(4086, reinterpret_cast<uint8_t*>(Bytes.data()), 100));
    EXPECT_EQ(0u, Range.Read(5000, reinterpret_cast<uint8_t*>(Bytes.data()), 100));
}

TEST(VobRange, IsCutToWhatTheFilesHold) {
    std::vector<fs::path> Parts{MakePart("VTS_02_1.VOB", 'c', 2)};
    dvdnav::TVobRange Past(Parts, 1, 99);
    EXPECT_EQ(2048, Past.Length());
    dvdnav::TVobRange Beyond(Parts, 5, 9);
    EXPECT_FALSE(Beyond.IsOpen());
    dvdnav::TVobRange Missing({fs::path(VIREON_BUILD_DIR) / "testtmp" / "range" / "none.vob"}, 0, 1);
    EXPECT_FALSE(Missing.IsOpen());
}

TEST(VobSpan, LocatesSectorsAcrossFilesAndRefusesWhatNoFileHolds) {
    using dvdnav::LocateSectors;
    constexpr int64_t S = dvdnav::DvdSectorSize;
    // Sectors 1..4 of files of 2, 0 and 5 sectors: one sector in the first, three in the third.
    auto Pieces = LocateSectors({2 * S, 0, 5 * S}, 1, 4);
    ASSERT_EQ(Pieces.size(), 2u);
    EXPECT_EQ(Pieces[0].File, 0u);
    EXPECT_EQ(Pieces[0].Start, S);
    EXPECT_EQ(Pieces[0].Length, S);
    EXPECT_EQ(Pieces[1].File, 2u);
    EXPECT_EQ(Pieces[1].Start, 0);
    EXPECT_EQ(Pieces[1].Offset, S);
    EXPECT_EQ(Pieces[1].Length, 3 * S);
    // Backwards, past the files, or past what a byte offset can count: nothing, and no overflow.
    EXPECT_TRUE(LocateSectors({5 * S}, 3, 2).empty());
    EXPECT_TRUE(LocateSectors({5 * S}, 5, 9).empty());
    EXPECT_TRUE(LocateSectors({5 * S}, UINT64_MAX - 1, UINT64_MAX).empty());
    auto Whole = LocateSectors({5 * S}, 0, UINT64_MAX);
    ASSERT_EQ(Whole.size(), 1u);
    EXPECT_EQ(Whole[0].Length, 5 * S);
}
