#include "dvdnav/DvdVolume.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <string_view>
#include <utility>

namespace dvdnav {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string Text) {
    for (char& C : Text)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return Text;
}

// A folder's entries, each with its name in lower case: DVD file names are matched without regard to
// case. A disc folder holds a few dozen files, so a search along them beats building a tree.
using TFolderEntries = std::vector<std::pair<std::string, fs::path>>;

TFolderEntries ListFolder(const fs::path& Folder, const IDvdFileSystem& Files) {
    auto Listed = Files.List(Folder);
    if (!Listed)
        throw EIfoError("the folder cannot be read: " + Folder.string());
    TFolderEntries Entries;
    Entries.reserve(Listed->size());
    for (fs::path& Entry : *Listed)
        Entries.emplace_back(Lower(Entry.filename().string()), std::move(Entry));
    return Entries;
}

// The first entry of that lower-case name, or none.
const fs::path* FindEntry(const TFolderEntries& Entries, std::string_view Name) {
    for (const auto& [Lowered, Path] : Entries)
        if (Lowered == Name)
            return &Path;
    return nullptr;
}

// A VIDEO_TS folder holds VIDEO_TS.IFO or at least its backup.
bool HoldsVideoManager(const TFolderEntries& Entries) {
    return FindEntry(Entries, "video_ts.ifo") || FindEntry(Entries, "video_ts.bup");
}

// The VIDEO_TS folder for Path; Entries gets the folder's entries when they were listed on the way
// (not for a VIDEO_TS.IFO path).
fs::path LocateVideoTsFolder(const fs::path& Path, const IDvdFileSystem& Files, TFolderEntries& Entries) {
    if (Path.empty())
        throw EIfoError("no DVD volume given");
    if (!Files.IsFolder(Path)) {
        if (Lower(Path.filename().string()) == "video_ts.ifo" && Files.IsFile(Path))
            return Path.parent_path();
        throw EIfoError("no DVD volume at " + Path.string());
    }
    Entries = ListFolder(Path, Files);
    if (HoldsVideoManager(Entries))
        return Path;
    const fs::path* Sub = FindEntry(Entries, "video_ts");
    if (Sub && Files.IsFolder(*Sub)) {
        fs::path Folder = *Sub;
        Entries = ListFolder(Folder, Files);
        if (HoldsVideoManager(Entries))
            return Folder;
    }
    throw EIfoError("no VIDEO_TS.IFO in " + Path.string());
}

template <typename Parser>
auto ReadWithBackup(const TFolderEntries& Entries, const std::string& Stem, Parser Parse, bool& FromBackup,
                    const IDvdFileSystem& Files) {
    std::string Failure;
    for (const char* Extension : {".ifo", ".bup"}) {
        const fs::path* Found = FindEntry(Entries, Stem + Extension);
        if (!Found) {
            Failure += Stem + Extension + " is missing; ";
            continue;
        }
        try {
            std::vector<uint8_t> Bytes = TDvdVolume::ReadSmallFile(*Found, Files);
            FromBackup = std::string(Extension) == ".bup";
            return Parse(Bytes);
        } catch (const EIfoError& Error) {
            Failure += Stem + Extension + ": " + Error.what() + "; ";
        }
    }
    throw EIfoError(Failure.substr(0, Failure.size() - 2));
}

std::string TitleSetStem(int Number) {
    char Name[16];
    std::snprintf(Name, sizeof Name, "vts_%02d_", Number);
    return Name;
}

// Start of every cell in the title set's VOB timeline: the cells in sector order, each shared
// cell counted once.
std::map<uint32_t, int64_t> CellFileTimes(const TTitleSet& Set) {
    std::map<uint32_t, int64_t> Durations;
    for (const TProgramChain& Chain : Set.ProgramChains)
        for (const TCell& Cell : Chain.Cells)
            Durations.emplace(Cell.FirstSector, Cell.DurationMs);
    int64_t Time = 0;
    for (auto& [Sector, Duration] : Durations)
        Time += std::exchange(Duration, Time);
    return Durations;
}

TChapter MakeChapter(const TTitleSet& Set, const TPartOfTitle& Part,
                     const std::map<uint32_t, int64_t>& FileTimes) {
    const TProgramChain& Chain = Set.ProgramChains[Part.ProgramChain - 1];
    TChapter Chapter;
    Chapter.ProgramChain = Part.ProgramChain;
    Chapter.FirstCell = Chain.ProgramEntryCells[Part.Program - 1];
    Chapter.LastCell = Part.Program < Chain.ProgramEntryCells.size()
                           ? static_cast<uint8_t>(Chain.ProgramEntryCells[Part.Program] - 1)
                           : static_cast<uint8_t>(Chain.Cells.size());
    Chapter.FirstSector = Chain.Cells[Chapter.FirstCell - 1].FirstSector;
    for (int Cell = Chapter.FirstCell; Cell <= Chapter.LastCell; ++Cell) {
        const TCell& Item = Chain.Cells[Cell - 1];
        Chapter.DurationMs += Item.DurationMs;
        Chapter.FirstSector = std::min(Chapter.FirstSector, Item.FirstSector);
        Chapter.LastSector = std::max(Chapter.LastSector, Item.LastSector);
    }
    Chapter.FileStartMs = FileTimes.at(Chain.Cells[Chapter.FirstCell - 1].FirstSector);
    return Chapter;
}

} // namespace

std::vector<uint8_t> TDvdVolume::ReadSmallFile(const fs::path& File, const IDvdFileSystem& Files) {
    std::optional<uintmax_t> Size = Files.FileSize(File);
    if (!Size)
        throw EIfoError("cannot read " + File.filename().string());
    if (*Size > MaxIfoFileSize)
        throw EIfoError(File.filename().string() + " is too large for an information file");
    std::vector<uint8_t> Bytes(static_cast<size_t>(*Size));
    if (!Files.Read(File, Bytes))
        throw EIfoError("cannot read " + File.filename().string());
    return Bytes;
}

fs::path TDvdVolume::FindVideoTsFolder(const fs::path& Path, const IDvdFileSystem& Files) {
    TFolderEntries Entries;
    return LocateVideoTsFolder(Path, Files, Entries);
}

TDvdVolume TDvdVolume::Read(const fs::path& Path, const IDvdFileSystem& Files) {
    TDvdVolume Volume;
    TFolderEntries Entries;
    Volume.Folder = LocateVideoTsFolder(Path, Files, Entries);
    if (Entries.empty())
        Entries = ListFolder(Volume.Folder, Files);
    Volume.Manager = ReadWithBackup(
        Entries, "video_ts", [](const std::vector<uint8_t>& B) { return ParseVideoManager(B); },
        Volume.ManagerFromBackup, Files);
    for (int Number = 1; Number <= Volume.Manager.TitleSetCount; ++Number) {
        TVolumeTitleSet Set;
        std::string Stem = TitleSetStem(Number);
        Set.Info = ReadWithBackup(
            Entries, Stem + "0", [](const std::vector<uint8_t>& B) { return ParseTitleSet(B); },
            Set.FromBackup, Files);
        for (int Part = 1; Part <= 9; ++Part) {
            const fs::path* Vob = FindEntry(Entries, Stem + std::to_string(Part) + ".vob");
            if (!Vob)
                break;
            Set.VobFiles.push_back(*Vob);
        }
        Volume.TitleSets.push_back(std::move(Set));
    }
    Volume.Titles = BuildTitles(Volume.Manager, Volume.TitleSets);
    return Volume;
}

TTitleEnd DecodeTitleEnd(const TProgramChain& Chain, const TVideoManager& Manager, int TitleSet) {
    constexpr TNavCommand Nop{};
    constexpr uint8_t JumpGroup = 0x30, JumpTT = 2, JumpVtsTT = 3, JumpVtsPTT = 5;
    TTitleEnd End;
    auto First = std::find_if(Chain.PostCommands.begin(), Chain.PostCommands.end(),
                              [&](const TNavCommand& Command) { return Command != Nop; });
    if (First == Chain.PostCommands.end())
        return End;
    const TNavCommand& Command = *First;
    uint8_t Kind = Command[1] & 0x0F;
    bool Conditional = (Command[1] & 0xF0) != 0;
    if (Command[0] != JumpGroup || Conditional || (Kind != JumpTT && Kind != JumpVtsTT && Kind != JumpVtsPTT))
        return End;
    End.Jumps = true;
    int Target = Command[5] & 0x7F;
    if (Kind == JumpVtsPTT)
        End.Chapter = (Command[2] & 0x03) << 8 | Command[3];
    if (Kind == JumpTT) {
        End.Title = Target >= 1 && static_cast<size_t>(Target) <= Manager.Titles.size() ? Target : 0;
        return End;
    }
    for (size_t I = 0; I < Manager.Titles.size(); ++I)
        if (Manager.Titles[I].TitleSet == TitleSet && Manager.Titles[I].TitleInSet == Target)
            End.Title = static_cast<int>(I) + 1;
    return End;
}

std::vector<TDvdTitle> BuildTitles(const TVideoManager& Manager, const std::vector<TVolumeTitleSet>& Sets) {
    std::vector<TDvdTitle> Titles;
    std::vector<std::map<uint32_t, int64_t>> FileTimes;
    for (const TVolumeTitleSet& Set : Sets)
        FileTimes.push_back(CellFileTimes(Set.Info));
    for (const TTitleEntry& Entry : Manager.Titles) {
        if (Entry.TitleSet > Sets.size())
            throw EIfoError("a title names a title set that does not exist");
        const TTitleSet& Set = Sets[Entry.TitleSet - 1].Info;
        if (Entry.TitleInSet > Set.Titles.size())
            throw EIfoError("a title is missing from its title set");
        const auto& Parts = Set.Titles[Entry.TitleInSet - 1];
        TDvdTitle Title;
        Title.Number = static_cast<int>(Titles.size()) + 1;
        Title.Entry = Entry;
        size_t Count = std::min<size_t>(Entry.Chapters, Parts.size());
        int64_t Start = 0;
        for (size_t C = 0; C < Count; ++C) {
            TChapter Chapter = MakeChapter(Set, Parts[C], FileTimes[Entry.TitleSet - 1]);
            Chapter.StartMs = Start;
            Start += Chapter.DurationMs;
            Title.Chapters.push_back(Chapter);
        }
        if (Title.Chapters.empty())
            throw EIfoError("a title has no chapters");
        const TProgramChain& Chain = Set.ProgramChains[Parts[0].ProgramChain - 1];
        Title.Time = Chain.Time;
        Title.DurationMs = Chain.DurationMs;
        Title.AudioControl = Chain.AudioControl;
        Title.SubpictureControl = Chain.SubpictureControl;
        Title.End =
            DecodeTitleEnd(Set.ProgramChains[Parts[Count - 1].ProgramChain - 1], Manager, Entry.TitleSet);
        Titles.push_back(std::move(Title));
    }
    return Titles;
}

} // namespace dvdnav
