// Information files made byte by byte: the damaged cases of the tests and the large volumes of the
// benchmark. The layout is the smallest a reader must accept: tables one sector each after the header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dvdnav_test {

struct TSyntheticTitleSet {
    int Chapters = 3;
    int ChapterMs = 2000;
    int FrameRate = 25;
    std::vector<std::string> AudioLanguages{"en"};
    std::vector<std::string> SubpictureLanguages;
};

// A video manager whose title n (1-based) is title 1 of title set n.
std::vector<uint8_t> MakeVideoManager(int Titles);
std::vector<uint8_t> MakeTitleSet(const TSyntheticTitleSet& Set);

// BCD playback time with the frame-rate bits.
uint32_t EncodeDvdTime(int Hours, int Minutes, int Seconds, int Frames, int FrameRate);

void Put16(std::vector<uint8_t>& Data, size_t Offset, uint16_t Value);
void Put32(std::vector<uint8_t>& Data, size_t Offset, uint32_t Value);

// Byte offsets in MakeTitleSet's layout, for damaging it.
constexpr size_t ChapterTableOffset = 2048;
constexpr size_t ProgramChainTableOffset = 4096;
constexpr size_t FirstProgramChainOffset = ProgramChainTableOffset + 16;

}  // namespace dvdnav_test
