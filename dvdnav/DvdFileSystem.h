// What the volume reader asks of the file system. Reading goes through this seam so that a disc can
// also be held in memory (the fuzz target builds thousands of discs a second).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace dvdnav {

class IDvdFileSystem {
public:
    virtual ~IDvdFileSystem() = default;
    virtual bool IsFolder(const std::filesystem::path& Path) const = 0;
    virtual bool IsFile(const std::filesystem::path& Path) const = 0;
    // The folder's entries as full paths; nothing when the folder cannot be read.
    virtual std::optional<std::vector<std::filesystem::path>>
    List(const std::filesystem::path& Folder) const = 0;
    virtual std::optional<uintmax_t> FileSize(const std::filesystem::path& File) const = 0;
    // The file's first Bytes.size() bytes; false when they cannot all be read.
    virtual bool Read(const std::filesystem::path& File, std::vector<uint8_t>& Bytes) const = 0;
};

// The real file system.
class TDiskFileSystem final : public IDvdFileSystem {
public:
    bool IsFolder(const std::filesystem::path& Path) const override;
    bool IsFile(const std::filesystem::path& Path) const override;
    std::optional<std::vector<std::filesystem::path>>
    List(const std::filesystem::path& Folder) const override;
    std::optional<uintmax_t> FileSize(const std::filesystem::path& File) const override;
    bool Read(const std::filesystem::path& File, std::vector<uint8_t>& Bytes) const override;
};

} // namespace dvdnav
