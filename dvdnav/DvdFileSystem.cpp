#include "dvdnav/DvdFileSystem.h"

#include <fstream>

namespace dvdnav {

namespace fs = std::filesystem;

bool TDiskFileSystem::IsFolder(const fs::path& Path) const {
    std::error_code Error;
    return fs::is_directory(Path, Error);
}

bool TDiskFileSystem::IsFile(const fs::path& Path) const {
    std::error_code Error;
    return fs::is_regular_file(Path, Error);
}

std::optional<std::vector<fs::path>> TDiskFileSystem::List(const fs::path& Folder) const {
    std::vector<fs::path> Entries;
    std::error_code Error;
    for (fs::directory_iterator It(Folder, Error), End; !Error && It != End; It.increment(Error))
        Entries.push_back(It->path());
    if (Error)
        return std::nullopt;
    return Entries;
}

std::optional<uintmax_t> TDiskFileSystem::FileSize(const fs::path& File) const {
    std::error_code Error;
    uintmax_t Size = fs::file_size(File, Error);
    if (Error)
        return std::nullopt;
    return Size;
}

bool TDiskFileSystem::Read(const fs::path& File, std::vector<uint8_t>& Bytes) const {
    std::ifstream Stream(File, std::ios::binary);
    return Stream &&
           Stream.read(reinterpret_cast<char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

} // namespace dvdnav
