// A DVD-Video volume read from its VIDEO_TS folder: titles with their chapters, times, streams and
// VOB files. Platform-free (std::filesystem), so the reader is also built and fuzzed on the host.
#pragma once

#include "dvdnav/DvdFileSystem.h"
#include "dvdnav/IfoReader.h"

#include <filesystem>
#include <vector>

namespace dvdnav {

constexpr uintmax_t MaxIfoFileSize = 16u << 20;

struct TChapter {
    int64_t StartMs = 0; // from the start of the title
    int64_t DurationMs = 0;
    int64_t FileStartMs = 0; // in the playback timeline of the title set's VOB files
    uint16_t ProgramChain = 0;
    uint8_t FirstCell = 0; // 1-based, inclusive
    uint8_t LastCell = 0;
    uint32_t FirstSector = 0; // sectors the chapter's cells span in the title VOBs
    uint32_t LastSector = 0;
};

// What a title's program chain says to do once it has played: stop, or, for a simple jump
// command, play another title.
struct TTitleEnd {
    bool Jumps = false;
    int Title = 0; // volume-wide; 0 when the command names a title that does not exist
    int Chapter = 1;
};

// The end of a chain whose post commands open with an unconditional jump to a title.
TTitleEnd DecodeTitleEnd(const TProgramChain& Chain, const TVideoManager& Manager, int TitleSet);

struct TDvdTitle {
    int Number = 0; // 1-based, volume-wide
    TTitleEntry Entry;
    TDvdTime Time; // the length stored for the title's program chain
    int64_t DurationMs = 0;
    std::vector<TChapter> Chapters;
    // Streams the title's first program chain enables (bit 15 audio, bit 31 subpicture).
    std::array<uint16_t, 8> AudioControl{};
    std::array<uint32_t, 32> SubpictureControl{};
    TTitleEnd End;
};

struct TVolumeTitleSet {
    TTitleSet Info;
    bool FromBackup = false;
    std::vector<std::filesystem::path> VobFiles; // VTS_nn_1.VOB, VTS_nn_2.VOB, ... as found
};

class TDvdVolume {
public:
    // Finds the VIDEO_TS folder for a VIDEO_TS.IFO path, a VIDEO_TS folder or its parent.
    // Raises EIfoError when none is there.
    static std::filesystem::path FindVideoTsFolder(const std::filesystem::path& Path,
                                                   const IDvdFileSystem& Files = TDiskFileSystem{});

    // Reads the whole volume; a damaged .IFO is replaced by its .BUP. Raises EIfoError.
    static TDvdVolume Read(const std::filesystem::path& Path,
                           const IDvdFileSystem& Files = TDiskFileSystem{});

    // Reads a file of at most MaxIfoFileSize bytes. Raises EIfoError.
    static std::vector<uint8_t> ReadSmallFile(const std::filesystem::path& File,
                                              const IDvdFileSystem& Files = TDiskFileSystem{});

    std::filesystem::path Folder;
    TVideoManager Manager;
    bool ManagerFromBackup = false;
    std::vector<TVolumeTitleSet> TitleSets; // index = title-set number - 1
    std::vector<TDvdTitle> Titles;

    const TVolumeTitleSet& TitleSetOf(const TDvdTitle& Title) const {
        return TitleSets[Title.Entry.TitleSet - 1];
    }
};

// Builds the volume's titles from the parsed tables (also used on data read from memory).
std::vector<TDvdTitle> BuildTitles(const TVideoManager& Manager, const std::vector<TVolumeTitleSet>& Sets);

} // namespace dvdnav
