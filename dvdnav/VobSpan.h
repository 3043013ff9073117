// Where a run of sectors lies in a title set's VOB files taken end to end. Platform-free, so it is
// also built and fuzzed on the host; TVobRange reads the bytes it finds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dvdnav {

struct TVobPiece {
    size_t File = 0;    // index into the files
    int64_t Start = 0;  // first byte of the range inside that file
    int64_t Offset = 0; // where this piece begins in the range
    int64_t Length = 0;
};

// The pieces of sectors FirstSector..LastSector (inclusive) in files of the given sizes, in order,
// cut to what the files hold; none when LastSector comes before FirstSector.
std::vector<TVobPiece> LocateSectors(const std::vector<int64_t>& FileSizes, uint64_t FirstSector,
                                     uint64_t LastSector);

} // namespace dvdnav
