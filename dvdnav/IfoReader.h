// Reading the information files of a DVD-Video volume (VIDEO_TS.IFO and VTS_nn_0.IFO) from their
// bytes. Platform-free: built for Windows and, for fuzzing, for the host. Every offset and count is
// checked against the data; damaged data raises EIfoError and is never read past its end.
#pragma once

#include "dvdnav/DvdTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace dvdnav {

class EIfoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr size_t DvdSectorSize = 2048;
constexpr size_t MaxTitles = 99; // a volume holds at most 99 titles and 99 title sets
constexpr size_t MaxChaptersPerTitle = 999;
constexpr size_t MaxProgramChains = 999; // per title set; keeps memory bounded on crafted tables

// One entry of the video manager's title search pointer table.
struct TTitleEntry {
    uint8_t PlaybackType = 0;
    uint8_t Angles = 0;
    uint16_t Chapters = 0;
    uint8_t TitleSet = 0;   // 1-based title-set number
    uint8_t TitleInSet = 0; // 1-based title number inside the set
    uint32_t StartSector = 0;
};

struct TVideoManager {
    uint16_t TitleSetCount = 0;
    std::vector<TTitleEntry> Titles;
};

struct TAudioAttributes {
    uint8_t Coding = 0; // 0 AC-3, 2 MPEG-1, 3 MPEG-2 ext., 4 LPCM, 6 DTS
    bool HasLanguage = false;
    std::string Language; // two letters of ISO 639, empty when not given
    uint8_t Channels = 0;
    uint8_t SampleRateCode = 0;
    uint8_t CodeExtension = 0;
};

struct TSubpictureAttributes {
    uint8_t Coding = 0;
    bool HasLanguage = false;
    std::string Language;
    uint8_t CodeExtension = 0;
};

struct TCell {
    TDvdTime Time;
    int64_t DurationMs = 0;
    uint32_t FirstSector = 0; // relative to the first title VOB
    uint32_t LastSector = 0;
};

// One command of the DVD virtual machine, eight bytes as stored.
using TNavCommand = std::array<uint8_t, 8>;
constexpr size_t MaxNavCommands = 128; // a program chain holds at most 128 commands

struct TProgramChain {
    TDvdTime Time;
    int64_t DurationMs = 0;
    std::vector<uint8_t> ProgramEntryCells; // 1-based cell number where each program starts
    std::vector<TCell> Cells;
    std::array<uint16_t, 8> AudioControl{};       // bit 15: stream enabled
    std::array<uint32_t, 32> SubpictureControl{}; // bit 31: stream enabled
    std::vector<TNavCommand> PostCommands;        // run when the chain has played to its end
};

// A chapter (part of title): the program chain and program it starts at, both 1-based.
struct TPartOfTitle {
    uint16_t ProgramChain = 0;
    uint16_t Program = 0;
};

struct TTitleSet {
    std::vector<TAudioAttributes> Audio;
    std::vector<TSubpictureAttributes> Subpictures;
    std::vector<std::vector<TPartOfTitle>> Titles; // chapter table per title of the set
    std::vector<TProgramChain> ProgramChains;
};

TVideoManager ParseVideoManager(std::span<const uint8_t> Data);
TTitleSet ParseTitleSet(std::span<const uint8_t> Data);

} // namespace dvdnav
