// A disc held in memory for the DVD volume reader's tests: folders, information files with their
// bytes and VOB files that only have a size. The bytes stay the caller's and must outlive the reading.
// Paths are kept by their text in hash tables, and each folder keeps its entries.
#pragma once

#include "dvdnav/DvdFileSystem.h"

#include <algorithm>
#include <span>
#include <unordered_map>

class TMemoryDvdFileSystem final : public dvdnav::IDvdFileSystem {
public:
    void AddFolder(const std::filesystem::path& Folder) {
        if (Folders_.try_emplace(Folder.native()).second && Folder.has_relative_path())
            AddEntry(Folder);
    }
    // A file added again replaces the earlier one, as writing it on disk would.
    void AddFile(const std::filesystem::path& File, std::span<const uint8_t> Bytes) {
        if (Files_.insert_or_assign(File.native(), TFile{Bytes, Bytes.size()}).second)
            AddEntry(File);
    }
    // A file whose contents the reader never reads: only its size counts.
    void AddSizedFile(const std::filesystem::path& File, uintmax_t Size) {
        if (Files_.insert_or_assign(File.native(), TFile{{}, Size}).second)
            AddEntry(File);
    }

    bool IsFolder(const std::filesystem::path& Path) const override {
        return Folders_.count(Path.native()) != 0;
    }
    bool IsFile(const std::filesystem::path& Path) const override { return Files_.count(Path.native()) != 0; }
    std::optional<std::vector<std::filesystem::path>>
    List(const std::filesystem::path& Folder) const override {
        auto Found = Folders_.find(Folder.native());
        if (Found == Folders_.end())
            return std::nullopt;
        return Found->second;
    }
    std::optional<uintmax_t> FileSize(const std::filesystem::path& File) const override {
        auto Found = Files_.find(File.native());
        return Found == Files_.end() ? std::nullopt : std::optional<uintmax_t>(Found->second.Size);
    }
    bool Read(const std::filesystem::path& File, std::vector<uint8_t>& Bytes) const override {
        auto Found = Files_.find(File.native());
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

    // Lists a new entry in its folder, which must have been added first.
    void AddEntry(const std::filesystem::path& Entry) {
        auto Folder = Folders_.find(Entry.parent_path().native());
        if (Folder != Folders_.end())
            Folder->second.push_back(Entry);
    }

    using TText = std::filesystem::path::string_type;
    std::unordered_map<TText, std::vector<std::filesystem::path>> Folders_;
    std::unordered_map<TText, TFile> Files_;
};
