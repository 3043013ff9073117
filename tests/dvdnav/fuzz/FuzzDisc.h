// The disc of one input of the DVD folder fuzz target: a root folder, its VIDEO_TS folder (or the root
// itself on a flat disc) and any of a fixed list of files, information files with their bytes and VOB
// files that only have a size. The reader's questions are answered by comparing paths with the list,
// so building a disc allocates nothing: the target builds thousands a second, and a disc kept in hash
// tables cost a good part of each run.
#pragma once

#include "dvdnav/DvdFileSystem.h"

#include <algorithm>
#include <array>
#include <span>

template <size_t Count> class TFuzzDisc final : public dvdnav::IDvdFileSystem {
public:
    using TPaths = std::array<std::filesystem::path, Count>;

    // The paths must outlive the disc, as must the bytes given to AddFile.
    TFuzzDisc(const std::filesystem::path& Root, const std::filesystem::path& Folder, const TPaths& Files)
        : Root_(Root), Folder_(Folder), Paths_(Files) {}

    // A file added again replaces the earlier one, as writing it on disk would.
    void AddFile(size_t Slot, std::span<const uint8_t> Bytes) { Files_[Slot] = {true, Bytes, Bytes.size()}; }
    // A file whose contents the reader never reads: only its size counts.
    void AddSizedFile(size_t Slot, uintmax_t Size) { Files_[Slot] = {true, {}, Size}; }

    bool IsFolder(const std::filesystem::path& Path) const override {
        return Path.native() == Root_.native() || Path.native() == Folder_.native();
    }
    bool IsFile(const std::filesystem::path& Path) const override { return Find(Path) != nullptr; }
    std::optional<std::vector<std::filesystem::path>>
    List(const std::filesystem::path& Folder) const override {
        if (!IsFolder(Folder))
            return std::nullopt;
        std::vector<std::filesystem::path> Entries;
        Entries.reserve(Count);
        if (Folder.native() != Folder_.native()) {
            Entries.push_back(Folder_);
            return Entries;
        }
        for (size_t Slot = 0; Slot < Count; ++Slot)
            if (Files_[Slot].Present)
                Entries.push_back(Paths_[Slot]);
        return Entries;
    }
    std::optional<uintmax_t> FileSize(const std::filesystem::path& File) const override {
        const TFile* Found = Find(File);
        return Found ? std::optional<uintmax_t>(Found->Size) : std::nullopt;
    }
    bool Read(const std::filesystem::path& File, std::vector<uint8_t>& Bytes) const override {
        const TFile* Found = Find(File);
        if (!Found || Found->Bytes.size() < Bytes.size())
            return false;
        std::copy_n(Found->Bytes.begin(), Bytes.size(), Bytes.begin());
        return true;
    }

private:
    struct TFile {
        bool Present = false;
        std::span<const uint8_t> Bytes;
        uintmax_t Size = 0;
    };

    const TFile* Find(const std::filesystem::path& Path) const {
        for (size_t Slot = 0; Slot < Count; ++Slot)
            if (Files_[Slot].Present && Paths_[Slot].native() == Path.native())
                return &Files_[Slot];
        return nullptr;
    }

    const std::filesystem::path& Root_;
    const std::filesystem::path& Folder_;
    const TPaths& Paths_;
    std::array<TFile, Count> Files_{};
};
