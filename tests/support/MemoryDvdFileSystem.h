// A disc held in memory for the DVD volume reader: folders, information files with their bytes and
// VOB files that only have a size. Used by the reader's tests and its fuzz target. The bytes stay the
// caller's and must outlive the reading.
#pragma once

#include "dvdnav/DvdFileSystem.h"

#include <algorithm>
#include <map>
#include <set>
#include <span>

class TMemoryDvdFileSystem final : public dvdnav::IDvdFileSystem {
public:
    void AddFolder(const std::filesystem::path& Folder) { Folders_.insert(Folder); }
    // A file added again replaces the earlier one, as writing it on disk would.
    void AddFile(const std::filesystem::path& File, std::span<const uint8_t> Bytes) {
        Files_.insert_or_assign(File, TFile{Bytes, Bytes.size()});
    }
    // A file whose contents the reader never reads: only its size counts.
    void AddSizedFile(const std::filesystem::path& File, uintmax_t Size) {
        Files_.insert_or_assign(File, TFile{{}, Size});
    }

    bool IsFolder(const std::filesystem::path& Path) const override { return Folders_.count(Path) != 0; }
    bool IsFile(const std::filesystem::path& Path) const override { return Files_.count(Path) != 0; }
    std::optional<std::vector<std::filesystem::path>>
    List(const std::filesystem::path& Folder) const override {
        if (!IsFolder(Folder))
            return std::nullopt;
        std::vector<std::filesystem::path> Entries;
        for (const auto& Sub : Folders_)
            if (Sub.parent_path() == Folder && Sub != Folder)
                Entries.push_back(Sub);
        for (const auto& [File, Contents] : Files_)
            if (File.parent_path() == Folder)
                Entries.push_back(File);
        return Entries;
    }
    std::optional<uintmax_t> FileSize(const std::filesystem::path& File) const override {
        auto Found = Files_.find(File);
        return Found == Files_.end() ? std::nullopt : std::optional<uintmax_t>(Found->second.Size);
    }
    bool Read(const std::filesystem::path& File, std::vector<uint8_t>& Bytes) const override {
        auto Found = Files_.find(File);
        if (Found == Files_.end() || Found->second.Bytes.size() < Bytes.size())
            return false;
        std::copy_n(Found->second.Bytes.begin(), Bytes.size(), Bytes.begin());
        return true;
    }

private:
    struct TFile {
        std::span<const uint8_t> Bytes;
        uintmax_t Size = 0;
    };
    std::set<std::filesystem::path> Folders_;
    std::map<std::filesystem::path, TFile> Files_;
};
