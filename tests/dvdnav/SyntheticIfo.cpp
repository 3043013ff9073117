#include "SyntheticIfo.h"

#include <cstring>

namespace dvdnav_test {

namespace {

constexpr size_t Sector = 2048;

uint8_t Bcd(int Value) {
    return static_cast<uint8_t>(Value / 10 << 4 | Value % 10);
}

void PutText(std::vector<uint8_t>& Data, size_t Offset, const char* Text) {
    std::memcpy(Data.data() + Offset, Text, std::strlen(Text));
}

uint32_t TimeOfMs(int Ms, int FrameRate) {
    int Seconds = Ms / 1000;
    int Frames = Ms % 1000 * FrameRate / 1000;
    return EncodeDvdTime(Seconds / 3600, Seconds / 60 % 60, Seconds % 60, Frames, FrameRate);
}

}  // namespace

void Put16(std::vector<uint8_t>& Data, size_t Offset, uint16_t Value) {
    Data[Offset] = static_cast<uint8_t>(Value >> 8);
    Data[Offset + 1] = static_cast<uint8_t>(Value);
}

void Put32(std::vector<uint8_t>& Data, size_t Offset, uint32_t Value) {
    Put16(Data, Offset, static_cast<uint16_t>(Value >> 16));
    Put16(Data, Offset + 2, static_cast<uint16_t>(Value));
}

uint32_t EncodeDvdTime(int Hours, int Minutes, int Seconds, int Frames, int FrameRate) {
    uint32_t RateBits = FrameRate == 30 ? 3 : FrameRate == 25 ? 1 : 0;
    return uint32_t{Bcd(Hours)} << 24 | uint32_t{Bcd(Minutes)} << 16 | uint32_t{Bcd(Seconds)} << 8 |
           RateBits << 6 | Bcd(Frames);
}

std::vector<uint8_t> MakeVideoManager(int Titles) {
    std::vector<uint8_t> Data(2 * Sector);
    PutText(Data, 0, "DVDVIDEO-VMG");
    Put16(Data, 0x3E, static_cast<uint16_t>(Titles));
    Put32(Data, 0xC4, 1);
    Put16(Data, Sector, static_cast<uint16_t>(Titles));
    Put32(Data, Sector + 4, static_cast<uint32_t>(8 + Titles * 12 - 1));
    for (int T = 0; T < Titles; ++T) {
        size_t Entry = Sector + 8 + T * 12;
        Data[Entry + 1] = 1;  // angles
        Put16(Data, Entry + 2, 3);
        Data[Entry + 6] = static_cast<uint8_t>(T + 1);
        Data[Entry + 7] = 1;
    }
    return Data;
}

std::vector<uint8_t> MakeTitleSet(const TSyntheticTitleSet& Set) {
    size_t Cells = static_cast<size_t>(Set.Chapters);
    size_t PgcSize = 0xEC + Cells + Cells * 24;
    size_t Size = FirstProgramChainOffset + PgcSize;
    std::vector<uint8_t> Data((Size + Sector - 1) / Sector * Sector);
    PutText(Data, 0, "DVDVIDEO-VTS");
    Put32(Data, 0xC8, 1);
    Put32(Data, 0xCC, 2);
    Put16(Data, 0x202, static_cast<uint16_t>(Set.AudioLanguages.size()));
    for (size_t I = 0; I < Set.AudioLanguages.size(); ++I) {
        Data[0x204 + I * 8] = 0x04;  // AC-3, language present
        PutText(Data, 0x204 + I * 8 + 2, Set.AudioLanguages[I].c_str());
    }
    Put16(Data, 0x254, static_cast<uint16_t>(Set.SubpictureLanguages.size()));
    for (size_t I = 0; I < Set.SubpictureLanguages.size(); ++I) {
        Data[0x256 + I * 6] = 0x01;
        PutText(Data, 0x256 + I * 6 + 2, Set.SubpictureLanguages[I].c_str());
    }
    // Chapter table: one title, chapter c at program c of chain 1.
    Put16(Data, ChapterTableOffset, 1);
    Put32(Data, ChapterTableOffset + 4, static_cast<uint32_t>(12 + Cells * 4 - 1));
    Put32(Data, ChapterTableOffset + 8, 12);
    for (size_t C = 0; C < Cells; ++C) {
        Put16(Data, ChapterTableOffset + 12 + C * 4, 1);
        Put16(Data, ChapterTableOffset + 12 + C * 4 + 2, static_cast<uint16_t>(C + 1));
    }
    // Program chain table with one chain: one program and one cell per chapter.
    Put16(Data, ProgramChainTableOffset, 1);
    Put32(Data, ProgramChainTableOffset + 4, static_cast<uint32_t>(16 + PgcSize - 1));
    Put32(Data, ProgramChainTableOffset + 8, 0x81000000);
    Put32(Data, ProgramChainTableOffset + 12, 16);
    size_t Pgc = FirstProgramChainOffset;
    Data[Pgc + 2] = static_cast<uint8_t>(Cells);
    Data[Pgc + 3] = static_cast<uint8_t>(Cells);
    Put32(Data, Pgc + 4, TimeOfMs(Set.ChapterMs * Set.Chapters, Set.FrameRate));
    for (size_t I = 0; I < Set.AudioLanguages.size(); ++I)
        Put16(Data, Pgc + 0x0C + I * 2, static_cast<uint16_t>(0x8000 | I << 8));
    for (size_t I = 0; I < Set.SubpictureLanguages.size(); ++I)
        Put32(Data, Pgc + 0x1C + I * 4, 0x80000000u | static_cast<uint32_t>(I) << 24);
    Put16(Data, Pgc + 0xE6, 0xEC);
    Put16(Data, Pgc + 0xE8, static_cast<uint16_t>(0xEC + Cells));
    for (size_t C = 0; C < Cells; ++C) {
        Data[Pgc + 0xEC + C] = static_cast<uint8_t>(C + 1);
        size_t Cell = Pgc + 0xEC + Cells + C * 24;
        Put32(Data, Cell + 4, TimeOfMs(Set.ChapterMs, Set.FrameRate));
        Put32(Data, Cell + 8, static_cast<uint32_t>(C * 100));
        Put32(Data, Cell + 20, static_cast<uint32_t>(C * 100 + 99));
    }
    return Data;
}

}  // namespace dvdnav_test
