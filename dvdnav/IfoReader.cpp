#include "dvdnav/IfoReader.h"

#include <cstring>

namespace dvdnav {

namespace {

// Bounds-checked big-endian reads over one file's bytes.
class TByteReader {
public:
    explicit TByteReader(std::span<const uint8_t> Data) : Data_(Data) {}

    size_t Size() const { return Data_.size(); }

    void Require(size_t Offset, size_t Length, const char* What) const {
        if (Offset > Data_.size() || Length > Data_.size() - Offset)
            throw EIfoError(std::string(What) + " lies past the end of the file");
    }
    uint8_t U8(size_t Offset) const {
        Require(Offset, 1, "a field");
        return Data_[Offset];
    }
    uint16_t U16(size_t Offset) const {
        Require(Offset, 2, "a field");
        return static_cast<uint16_t>(Data_[Offset] << 8 | Data_[Offset + 1]);
    }
    uint32_t U32(size_t Offset) const {
        Require(Offset, 4, "a field");
        return uint32_t{Data_[Offset]} << 24 | uint32_t{Data_[Offset + 1]} << 16 |
               uint32_t{Data_[Offset + 2]} << 8 | Data_[Offset + 3];
    }
    bool HasIdentifier(const char* Identifier) const {
        size_t Length = std::strlen(Identifier);
        return Data_.size() >= Length && std::memcmp(Data_.data(), Identifier, Length) == 0;
    }
    // Byte offset of a table given by a sector pointer stored at Field; the table must at least
    // hold its Header bytes.
    size_t Table(size_t Field, size_t Header, const char* What) const {
        uint64_t Offset = uint64_t{U32(Field)} * DvdSectorSize;
        if (Offset == 0 || Offset >= Data_.size())
            throw EIfoError(std::string(What) + " is missing or lies past the end of the file");
        Require(static_cast<size_t>(Offset), Header, What);
        return static_cast<size_t>(Offset);
    }

private:
    std::span<const uint8_t> Data_;
};

// The last byte a table claims, clamped to the file: tables are never read beyond either.
size_t TableEnd(const TByteReader& Reader, size_t Start, size_t EndField) {
    uint64_t End = uint64_t{Start} + Reader.U32(EndField) + 1;
    return static_cast<size_t>(End < Reader.Size() ? End : Reader.Size());
}

// A table starting with a 16-bit entry count and the offset of its last byte, then Count entries
// of EntrySize bytes.
struct TTableHeader {
    size_t Start;
    size_t End;
    uint16_t Count;
};

TTableHeader ReadTableHeader(const TByteReader& Reader, size_t Field, size_t EntrySize, size_t MaxCount,
                             const char* What) {
    TTableHeader Header;
    Header.Start = Reader.Table(Field, 8, What);
    Header.End = TableEnd(Reader, Header.Start, Header.Start + 4);
    Header.Count = Reader.U16(Header.Start);
    if (Header.Count == 0 || Header.Count > MaxCount)
        throw EIfoError(std::string(What) + " holds an impossible number of entries");
    if (Header.Start + 8 + size_t{Header.Count} * EntrySize > Header.End)
        throw EIfoError(std::string(What) + " is cut short");
    return Header;
}

std::string LanguageCode(const TByteReader& Reader, size_t Offset) {
    char A = static_cast<char>(Reader.U8(Offset));
    char B = static_cast<char>(Reader.U8(Offset + 1));
    auto Letter = [](char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'); };
    if (!Letter(A) || !Letter(B))
        return {};
    return std::string{static_cast<char>(A | 0x20), static_cast<char>(B | 0x20)};
}

TAudioAttributes ReadAudio(const TByteReader& Reader, size_t Offset) {
    TAudioAttributes Audio;
    uint8_t First = Reader.U8(Offset);
    uint8_t Second = Reader.U8(Offset + 1);
    Audio.Coding = First >> 5;
    Audio.HasLanguage = ((First >> 2) & 0x03) == 1;
    Audio.SampleRateCode = (Second >> 4) & 0x03;
    Audio.Channels = static_cast<uint8_t>((Second & 0x07) + 1);
    if (Audio.HasLanguage)
        Audio.Language = LanguageCode(Reader, Offset + 2);
    Audio.CodeExtension = Reader.U8(Offset + 5);
    return Audio;
}

TSubpictureAttributes ReadSubpicture(const TByteReader& Reader, size_t Offset) {
    TSubpictureAttributes Sub;
    uint8_t First = Reader.U8(Offset);
    Sub.Coding = First >> 5;
    Sub.HasLanguage = (First & 0x03) == 1;
    if (Sub.HasLanguage)
        Sub.Language = LanguageCode(Reader, Offset + 2);
    Sub.CodeExtension = Reader.U8(Offset + 5);
    return Sub;
}

void ReadStreamAttributes(const TByteReader& Reader, TTitleSet& Set) {
    uint16_t AudioCount = Reader.U16(0x202);
    if (AudioCount > 8)
        throw EIfoError("the title set declares more than 8 audio streams");
    Set.Audio.reserve(AudioCount);
    for (size_t I = 0; I < AudioCount; ++I)
        Set.Audio.push_back(ReadAudio(Reader, 0x204 + I * 8));
    uint16_t SubCount = Reader.U16(0x254);
    if (SubCount > 32)
        throw EIfoError("the title set declares more than 32 subpicture streams");
    Set.Subpictures.reserve(SubCount);
    for (size_t I = 0; I < SubCount; ++I)
        Set.Subpictures.push_back(ReadSubpicture(Reader, 0x256 + I * 6));
}

void ReadChapterTable(const TByteReader& Reader, TTitleSet& Set) {
    auto [Start, End, Count] = ReadTableHeader(Reader, 0xC8, 4, MaxTitles, "the chapter table");
    Set.Titles.reserve(Count);
    for (size_t T = 0; T < Count; ++T) {
        size_t First = Start + Reader.U32(Start + 8 + T * 4);
        size_t Last = T + 1 < Count ? Start + Reader.U32(Start + 8 + (T + 1) * 4) : End;
        if (First < Start + 8 + size_t{Count} * 4 || Last > End || Last <= First)
            throw EIfoError("a title's chapters lie outside the chapter table");
        size_t Chapters = (Last - First) / 4;
        if (Chapters == 0 || Chapters > MaxChaptersPerTitle)
            throw EIfoError("a title has an impossible number of chapters");
        std::vector<TPartOfTitle> Parts;
        Parts.reserve(Chapters);
        for (size_t C = 0; C < Chapters; ++C)
            Parts.push_back({Reader.U16(First + C * 4), Reader.U16(First + C * 4 + 2)});
        Set.Titles.push_back(std::move(Parts));
    }
}

void ReadCells(const TByteReader& Reader, size_t Pgc, size_t End, uint8_t Count, TProgramChain& Chain) {
    size_t Table = Pgc + Reader.U16(Pgc + 0xE8);
    if (Count > 0 && (Table == Pgc || Table + size_t{Count} * 24 > End))
        throw EIfoError("a program chain's cell table lies outside the file");
    Chain.Cells.reserve(Count);
    for (size_t I = 0; I < Count; ++I) {
        size_t Cell = Table + I * 24;
        TCell Item;
        Item.Time = DecodeDvdTime(Reader.U32(Cell + 4));
        Item.DurationMs = DvdTimeToMilliseconds(Item.Time);
        Item.FirstSector = Reader.U32(Cell + 8);
        Item.LastSector = Reader.U32(Cell + 20);
        if (Item.LastSector < Item.FirstSector)
            throw EIfoError("a cell ends before it starts");
        Chain.Cells.push_back(Item);
    }
}

// The post commands of a chain's command table; a table that does not fit is read as empty, so
// playback ends there as it would without commands.
void ReadPostCommands(const TByteReader& Reader, size_t Pgc, size_t End, TProgramChain& Chain) {
    uint16_t Offset = Reader.U16(Pgc + 0xE4);
    if (Offset == 0 || Pgc + Offset + 8 > End)
        return;
    size_t Table = Pgc + Offset;
    size_t Pre = Reader.U16(Table), Post = Reader.U16(Table + 2), Cell = Reader.U16(Table + 4);
    if (Pre + Post + Cell > MaxNavCommands || Table + 8 + (Pre + Post) * 8 > End)
        return;
    Chain.PostCommands.reserve(Post);
    for (size_t I = 0; I < Post; ++I) {
        TNavCommand Command;
        for (size_t B = 0; B < Command.size(); ++B)
            Command[B] = Reader.U8(Table + 8 + (Pre + I) * 8 + B);
        Chain.PostCommands.push_back(Command);
    }
}

TProgramChain ReadProgramChain(const TByteReader& Reader, size_t Pgc, size_t End) {
    if (Pgc + 0xEC > End)
        throw EIfoError("a program chain lies outside its table");
    TProgramChain Chain;
    uint8_t Programs = Reader.U8(Pgc + 2);
    uint8_t Cells = Reader.U8(Pgc + 3);
    Chain.Time = DecodeDvdTime(Reader.U32(Pgc + 4));
    Chain.DurationMs = DvdTimeToMilliseconds(Chain.Time);
    for (size_t I = 0; I < 8; ++I)
        Chain.AudioControl[I] = Reader.U16(Pgc + 0x0C + I * 2);
    for (size_t I = 0; I < 32; ++I)
        Chain.SubpictureControl[I] = Reader.U32(Pgc + 0x1C + I * 4);
    if (Programs > Cells)
        throw EIfoError("a program chain has more programs than cells");
    size_t Map = Pgc + Reader.U16(Pgc + 0xE6);
    if (Programs > 0 && (Map == Pgc || Map + Programs > End))
        throw EIfoError("a program map lies outside the file");
    Chain.ProgramEntryCells.reserve(Programs);
    for (size_t I = 0; I < Programs; ++I) {
        uint8_t Entry = Reader.U8(Map + I);
        uint8_t Previous = I == 0 ? 0 : Chain.ProgramEntryCells.back();
        if (Entry == 0 || Entry > Cells || Entry <= Previous)
            throw EIfoError("a program starts at a cell that does not exist");
        Chain.ProgramEntryCells.push_back(Entry);
    }
    ReadCells(Reader, Pgc, End, Cells, Chain);
    ReadPostCommands(Reader, Pgc, End, Chain);
    return Chain;
}

void ReadProgramChains(const TByteReader& Reader, TTitleSet& Set) {
    auto [Start, End, Count] = ReadTableHeader(Reader, 0xCC, 8, MaxProgramChains, "the program chain table");
    Set.ProgramChains.reserve(Count);
    for (size_t I = 0; I < Count; ++I) {
        uint32_t Offset = Reader.U32(Start + 8 + I * 8 + 4);
        if (Offset < 8 + size_t{Count} * 8 || Offset >= End - Start)
            throw EIfoError("a program chain lies outside its table");
        Set.ProgramChains.push_back(ReadProgramChain(Reader, Start + Offset, End));
    }
}

// Every chapter must name a program chain and program that exist.
void CheckChapters(const TTitleSet& Set) {
    for (const auto& Title : Set.Titles)
        for (const TPartOfTitle& Part : Title) {
            if (Part.ProgramChain == 0 || Part.ProgramChain > Set.ProgramChains.size())
                throw EIfoError("a chapter names a program chain that does not exist");
            const TProgramChain& Chain = Set.ProgramChains[Part.ProgramChain - 1];
            if (Part.Program == 0 || Part.Program > Chain.ProgramEntryCells.size())
                throw EIfoError("a chapter names a program that does not exist");
        }
}

} // namespace

TVideoManager ParseVideoManager(std::span<const uint8_t> Data) {
    TByteReader Reader(Data);
    if (!Reader.HasIdentifier("DVDVIDEO-VMG"))
        throw EIfoError("not a video manager (identifier DVDVIDEO-VMG missing)");
    TVideoManager Manager;
    Manager.TitleSetCount = Reader.U16(0x3E);
    if (Manager.TitleSetCount > MaxTitles)
        throw EIfoError("the video manager declares more than 99 title sets");
    auto [Start, End, Count] = ReadTableHeader(Reader, 0xC4, 12, MaxTitles, "the title table");
    Manager.Titles.reserve(Count);
    for (size_t I = 0; I < Count; ++I) {
        size_t Entry = Start + 8 + I * 12;
        TTitleEntry Title;
        Title.PlaybackType = Reader.U8(Entry);
        Title.Angles = Reader.U8(Entry + 1);
        Title.Chapters = Reader.U16(Entry + 2);
        Title.TitleSet = Reader.U8(Entry + 6);
        Title.TitleInSet = Reader.U8(Entry + 7);
        Title.StartSector = Reader.U32(Entry + 8);
        if (Title.TitleSet == 0 || Title.TitleSet > Manager.TitleSetCount || Title.TitleInSet == 0)
            throw EIfoError("a title names a title set that does not exist");
        Manager.Titles.push_back(Title);
    }
    return Manager;
}

TTitleSet ParseTitleSet(std::span<const uint8_t> Data) {
    TByteReader Reader(Data);
    if (!Reader.HasIdentifier("DVDVIDEO-VTS"))
        throw EIfoError("not a title set (identifier DVDVIDEO-VTS missing)");
    TTitleSet Set;
    ReadStreamAttributes(Reader, Set);
    ReadChapterTable(Reader, Set);
    ReadProgramChains(Reader, Set);
    CheckChapters(Set);
    return Set;
}

} // namespace dvdnav
