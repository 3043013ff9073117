#include "dvdnav/VobRange.h"

#include "dvdnav/VobSpan.h"

#include <algorithm>

namespace dvdnav {

TVobRange::TVobRange(const std::vector<std::filesystem::path>& Files, uint64_t FirstSector,
                     uint64_t LastSector) {
    // The files up to the first that cannot be opened: the range ends there.
    std::vector<vireon::UniqueFile> Opened;
    std::vector<int64_t> Sizes;
    for (const auto& Path : Files) {
        vireon::UniqueFile File(CreateFileW(Path.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        LARGE_INTEGER Size{};
        if (!File || !GetFileSizeEx(File.get(), &Size))
            break;
        Opened.push_back(std::move(File));
        Sizes.push_back(Size.QuadPart);
    }
    for (const TVobPiece& Piece : LocateSectors(Sizes, FirstSector, LastSector)) {
        Parts_.push_back({std::move(Opened[Piece.File]), Piece.Start, Piece.Offset, Piece.Length});
        Length_ += Piece.Length;
    }
}

size_t TVobRange::Read(int64_t Position, uint8_t* Buffer, size_t Size) {
    std::lock_guard<std::mutex> Guard(Lock_);
    size_t Done = 0;
    for (TPart& Part : Parts_) {
        if (Done == Size)
            break;
        int64_t At = Position + static_cast<int64_t>(Done);
        if (At < Part.Offset || At >= Part.Offset + Part.Length)
            continue;
        LARGE_INTEGER Seek;
        Seek.QuadPart = Part.Start + (At - Part.Offset);
        DWORD Want = static_cast<DWORD>(
            std::min<int64_t>(static_cast<int64_t>(Size - Done), Part.Offset + Part.Length - At));
        DWORD Got = 0;
        if (!SetFilePointerEx(Part.File.get(), Seek, nullptr, FILE_BEGIN) ||
            !ReadFile(Part.File.get(), Buffer + Done, Want, &Got, nullptr) || Got == 0)
            break;
        Done += Got;
    }
    return Done;
}

} // namespace dvdnav
