// A byte range across a title set's VOB files (VTS_nn_1.VOB, VTS_nn_2.VOB, ...) read as one stream:
// a title's sectors, so the platform's splitter sees the title alone, with its own timeline.
#pragma once

#include "common/Win32Handles.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <vector>

namespace dvdnav {

class TVobRange {
public:
    // Sectors FirstSector..LastSector (inclusive) of the VOB files taken end to end; the range is
    // cut to what the files hold.
    TVobRange(const std::vector<std::filesystem::path>& Files, uint64_t FirstSector, uint64_t LastSector);

    bool IsOpen() const { return !Parts_.empty() && Length_ > 0; }
    int64_t Length() const { return Length_; }

    // Reads up to Size bytes at Position of the range; the count actually read.
    size_t Read(int64_t Position, uint8_t* Buffer, size_t Size);

private:
    struct TPart {
        vireon::UniqueFile File;
        int64_t Start;  // first byte of the range inside this file
        int64_t Offset; // where this part begins in the range
        int64_t Length;
    };

    std::mutex Lock_;
    std::vector<TPart> Parts_;
    int64_t Length_ = 0;
};

} // namespace dvdnav
