// libFuzzer target over the DVD folder side, built for the host with sanitizers. The input describes
// a disc: a layout byte, then records of one file each (a code naming VIDEO_TS.IFO/.BUP, or a title
// set's .IFO, .BUP or VOB part, then a 16-bit length and the bytes; a VOB record's first four bytes
// are its size). The files are put in a disc held in memory, handed to the reader through its file
// system seam (a disc on disk cost tens of milliseconds per input), and the volume is read from its
// root, its VIDEO_TS folder or VIDEO_TS.IFO. Properties: only the reader's own error escapes, the
// backup is used exactly when the .IFO is missing or damaged, the titles are numbered and timed in
// order with their jumps inside the volume, and every chapter's sectors map onto the VOB files end to
// end without gaps or overlaps.
#include "dvdnav/DvdVolume.h"
#include "dvdnav/VobSpan.h"
#include "tests/dvdnav/fuzz/FuzzDisc.h"
#include "tests/support/FuzzProperty.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace fs = std::filesystem;
using namespace dvdnav;

using fuzzsupport::Check;

namespace {

constexpr int kTitleSets = 3;
constexpr int kCodes = 2 + 4 * kTitleSets;

std::string FileName(int code, bool lower) {
    char name[16];
    if (code < 2) {
        std::snprintf(name, sizeof name, "VIDEO_TS.%s", code == 0 ? "IFO" : "BUP");
    } else {
        int set = (code - 2) / 4 + 1, kind = (code - 2) % 4;
        static const char* tails[] = {"0.IFO", "0.BUP", "1.VOB", "2.VOB"};
        std::snprintf(name, sizeof name, "VTS_%02d_%s", set, tails[kind]);
    }
    std::string text = name;
    if (lower)
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsVob(int code) {
    return code >= 2 && (code - 2) % 4 >= 2;
}

const fs::path kDiscRoot = "/disc";
// A disc has kCodes files; records past twice that could only replace files again, and inputs of
// thousands of tiny records cost milliseconds each. The rest of the input is left unread.
constexpr int kMaxRecords = 2 * kCodes;

using TDisc = TFuzzDisc<kCodes>;
// The bytes of each information file by code.
using TInfoFiles = std::array<std::optional<std::span<const uint8_t>>, kCodes>;

// The paths of the disc's folder and files for each way an input lays the disc out, made once:
// building them for every record was a good part of each run.
struct TDiscPaths {
    fs::path folder;
    TDisc::TPaths files;
};

const TDiscPaths& DiscPaths(bool lower, bool flat) {
    static const std::array<TDiscPaths, 4> made = [] {
        std::array<TDiscPaths, 4> all;
        for (int variant = 0; variant < 4; ++variant) {
            bool lowerCase = variant & 1, flatDisc = variant & 2;
            TDiscPaths& paths = all[variant];
            paths.folder = flatDisc ? kDiscRoot : kDiscRoot / (lowerCase ? "video_ts" : "VIDEO_TS");
            for (int code = 0; code < kCodes; ++code)
                paths.files[code] = paths.folder / FileName(code, lowerCase);
        }
        return all;
    }();
    return made[int(lower) | int(flat) << 1];
}

// Writes the records; the bytes of each information file by code.
TInfoFiles WriteDisc(const uint8_t* data, size_t size, TDisc& disc) {
    TInfoFiles files;
    size_t pos = 1;
    for (int record = 0; record < kMaxRecords && pos + 3 <= size; ++record) {
        int code = data[pos] % kCodes;
        size_t length = std::min<size_t>(data[pos + 1] | data[pos + 2] << 8, size - pos - 3);
        std::span<const uint8_t> bytes(data + pos + 3, length);
        pos += 3 + length;
        if (IsVob(code)) {
            uint32_t vobSize = 0;
            for (size_t i = 0; i < 4 && i < bytes.size(); ++i)
                vobSize |= uint32_t(bytes[i]) << (8 * i);
            disc.AddSizedFile(code, vobSize);
        } else {
            disc.AddFile(code, bytes);
            files[code] = bytes;
        }
    }
    return files;
}

template <typename Parse> bool Parses(const TInfoFiles& files, int code, Parse parse) {
    if (!files[code])
        return false;
    try {
        parse(*files[code]);
        return true;
    } catch (const EIfoError&) {
        return false;
    }
}

void CheckSectors(const TDisc& disc, const TVolumeTitleSet& set, const TChapter& chapter) {
    std::vector<int64_t> sizes;
    int64_t total = 0;
    for (const fs::path& file : set.VobFiles) {
        sizes.push_back(int64_t(disc.FileSize(file).value()));
        total += sizes.back();
    }
    int64_t begin = int64_t(chapter.FirstSector) * DvdSectorSize;
    int64_t end = std::min<int64_t>((int64_t(chapter.LastSector) + 1) * DvdSectorSize, total);
    int64_t offset = 0;
    for (const TVobPiece& piece : LocateSectors(sizes, chapter.FirstSector, chapter.LastSector)) {
        Check(piece.File < sizes.size() && piece.Length > 0, "a VOB piece outside the files");
        Check(piece.Start >= 0 && piece.Start + piece.Length <= sizes[piece.File],
              "a VOB piece past its file");
        Check(piece.Offset == offset, "VOB pieces with a gap or an overlap");
        offset += piece.Length;
    }
    Check(offset == std::max<int64_t>(end - begin, 0), "VOB pieces that do not cover the chapter's sectors");
}

void CheckVolume(const TDisc& disc, const TDvdVolume& volume, const TInfoFiles& files) {
    bool managerParses = Parses(files, 0, [](const auto& b) { ParseVideoManager(b); });
    Check(volume.ManagerFromBackup == !managerParses, "the video manager's backup used when not needed");
    Check(volume.TitleSets.size() == volume.Manager.TitleSetCount, "title sets not as the manager counts");
    for (size_t set = 0; set < volume.TitleSets.size() && set < kTitleSets; ++set) {
        bool parses = Parses(files, 2 + 4 * int(set), [](const auto& b) { ParseTitleSet(b); });
        Check(volume.TitleSets[set].FromBackup == !parses, "a title set's backup used when not needed");
    }
    Check(volume.Titles.size() == volume.Manager.Titles.size(), "titles lost or added");
    for (size_t index = 0; index < volume.Titles.size(); ++index) {
        const TDvdTitle& title = volume.Titles[index];
        Check(title.Number == int(index) + 1, "titles out of order");
        Check(!title.Chapters.empty(), "a title without chapters");
        Check(title.End.Title >= 0 && size_t(title.End.Title) <= volume.Titles.size(),
              "a jump out of the volume");
        int64_t start = 0;
        for (const TChapter& chapter : title.Chapters) {
            Check(chapter.StartMs == start && chapter.DurationMs >= 0, "chapter times out of order");
            Check(chapter.FirstSector <= chapter.LastSector, "a chapter ending before it starts");
            start += chapter.DurationMs;
            CheckSectors(disc, volume.TitleSetOf(title), chapter);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    uint8_t layout = data[0];
    bool lower = layout & 1, flat = layout & 8;
    const TDiscPaths& paths = DiscPaths(lower, flat);
    const fs::path& folder = paths.folder;
    TDisc disc(kDiscRoot, folder, paths.files);
    const TInfoFiles files = WriteDisc(data, size, disc);
    const fs::path& given = (layout >> 1 & 3) == 0   ? kDiscRoot
                            : (layout >> 1 & 3) == 1 ? folder
                                                     : paths.files[0];
    try {
        TDvdVolume volume = TDvdVolume::Read(given, disc);
        Check(volume.Folder == folder, "a VIDEO_TS folder other than the disc's");
        CheckVolume(disc, volume, files);
    } catch (const EIfoError&) {
    }
    return 0;
}
