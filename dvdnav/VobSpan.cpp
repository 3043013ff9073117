#include "dvdnav/VobSpan.h"

#include "dvdnav/IfoReader.h"

#include <algorithm>
#include <limits>

namespace dvdnav {

std::vector<TVobPiece> LocateSectors(const std::vector<int64_t>& FileSizes, uint64_t FirstSector,
                                     uint64_t LastSector) {
    std::vector<TVobPiece> Pieces;
    // Sectors past what a byte offset can hold lie past any file.
    constexpr uint64_t MostSectors = uint64_t(std::numeric_limits<int64_t>::max()) / DvdSectorSize - 1;
    if (LastSector < FirstSector || FirstSector > MostSectors)
        return Pieces;
    int64_t Begin = static_cast<int64_t>(FirstSector * DvdSectorSize);
    int64_t End = static_cast<int64_t>((std::min(LastSector, MostSectors) + 1) * DvdSectorSize);
    int64_t FileStart = 0, Length = 0; // of the current file, in the files taken end to end
    for (size_t File = 0; File < FileSizes.size() && FileStart < End; ++File) {
        int64_t FileEnd = FileStart + std::max<int64_t>(FileSizes[File], 0);
        int64_t From = std::max(Begin, FileStart), To = std::min(End, FileEnd);
        if (To > From) {
            Pieces.push_back({File, From - FileStart, Length, To - From});
            Length += To - From;
        }
        FileStart = FileEnd;
    }
    return Pieces;
}

} // namespace dvdnav
