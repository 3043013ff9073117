// The IFO reader on dvdauthor discs and on synthetic (also damaged) bytes.
#include "SyntheticIfo.h"
#include "support/MemoryDvdFileSystem.h"

#include "dvdnav/DvdLanguages.h"
#include "dvdnav/DvdVolume.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <map>

using namespace dvdnav;
using namespace dvdnav_test;
namespace fs = std::filesystem;

namespace {

const fs::path Discs = fs::path(VIREON_BUILD_DIR) / "dvd";

void ExpectParseFails(const std::vector<uint8_t>& Data, const char* Why) {
    SCOPED_TRACE(Why);
    EXPECT_THROW(ParseTitleSet(Data), EIfoError);
}

void WriteFile(const fs::path& Path, const std::vector<uint8_t>& Data) {
    std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()), Data.size());
}

// A fresh copy of a disc's VIDEO_TS folder to damage.
fs::path CopyDisc(const char* Disc, const char* Name) {
    fs::path Target = fs::path(VIREON_BUILD_DIR) / "testtmp" / Name;
    fs::remove_all(Target);
    fs::create_directories(Target);
    fs::copy(Discs / Disc / "VIDEO_TS", Target / "VIDEO_TS");
    return Target / "VIDEO_TS";
}

} // namespace

TEST(DvdTime, DecodesBcdAtBothFrameRates) {
    TDvdTime Pal = DecodeDvdTime(EncodeDvdTime(1, 2, 5, 12, 25));
    EXPECT_EQ(1, Pal.Hours);
    EXPECT_EQ(2, Pal.Minutes);
    EXPECT_EQ(5, Pal.Seconds);
    EXPECT_EQ(12, Pal.Frames);
    EXPECT_EQ(25, Pal.FrameRate);
    EXPECT_EQ(3725480, DvdTimeToMilliseconds(Pal));

    TDvdTime Ntsc = DecodeDvdTime(EncodeDvdTime(0, 0, 3, 15, 30));
    EXPECT_EQ(30, Ntsc.FrameRate);
    EXPECT_EQ(3500, DvdTimeToMilliseconds(Ntsc)); // 15 frames at 29.97 per second

    TDvdTime NoRate = DecodeDvdTime(EncodeDvdTime(0, 0, 7, 20, 0));
    EXPECT_EQ(0, NoRate.FrameRate);
    EXPECT_EQ(7000, DvdTimeToMilliseconds(NoRate));

    TDvdTime Back = MillisecondsToDvdTime(3725480, 25);
    EXPECT_EQ(1, Back.Hours);
    EXPECT_EQ(2, Back.Minutes);
    EXPECT_EQ(5, Back.Seconds);
    EXPECT_EQ(12, Back.Frames);
}

TEST(IfoReader, ReadsTheTwelveChapterDisc) {
    TDvdVolume Volume = TDvdVolume::Read(Discs / "twelve");
    ASSERT_EQ(1u, Volume.Titles.size());
    const TDvdTitle& Title = Volume.Titles[0];
    EXPECT_EQ(12000, Title.DurationMs);
    ASSERT_EQ(12u, Title.Chapters.size());
    int64_t Sum = 0;
    for (const TChapter& Chapter : Title.Chapters) {
        EXPECT_EQ(Sum, Chapter.StartMs);
        EXPECT_EQ(Chapter.StartMs, Chapter.FileStartMs);
        Sum += Chapter.DurationMs;
    }
    EXPECT_EQ(12000, Sum);
    EXPECT_NEAR(9000, Title.Chapters[9].StartMs, 500); // cut every second, on a GOP
    EXPECT_FALSE(Volume.ManagerFromBackup);
    EXPECT_EQ(1u, Volume.TitleSets[0].VobFiles.size());
}

TEST(IfoReader, ReadsTitlesStreamsAndLanguagesOfTwoTitleSets) {
    TDvdVolume Volume = TDvdVolume::Read(Discs / "multi" / "VIDEO_TS" / "VIDEO_TS.IFO");
    ASSERT_EQ(3u, Volume.Titles.size());
    EXPECT_EQ(2u, Volume.Titles[0].Chapters.size());
    EXPECT_EQ(3u, Volume.Titles[1].Chapters.size());
    EXPECT_EQ(4u, Volume.Titles[2].Chapters.size());
    EXPECT_EQ(2, Volume.Titles[2].Entry.TitleSet);
    // Title 2 follows title 1 in the same VOB.
    EXPECT_EQ(Volume.Titles[0].DurationMs, Volume.Titles[1].Chapters[0].FileStartMs);

    const TTitleSet& First = Volume.TitleSets[0].Info;
    ASSERT_EQ(2u, First.Audio.size());
    EXPECT_EQ("en", First.Audio[0].Language);
    EXPECT_EQ("fr", First.Audio[1].Language);
    ASSERT_EQ(2u, First.Subpictures.size());
    EXPECT_EQ("de", First.Subpictures[0].Language);
    EXPECT_EQ("es", First.Subpictures[1].Language);
    EXPECT_TRUE(Volume.Titles[0].SubpictureControl[1] & 0x80000000u);
    EXPECT_FALSE(Volume.Titles[1].SubpictureControl[0] & 0x80000000u); // its VOB has no subtitles
    EXPECT_EQ("it", Volume.TitleSets[1].Info.Audio[0].Language);
}

TEST(IfoReader, FindsTheVolumeFromEveryPathThePlayerPasses) {
    fs::path Folder = Discs / "twelve" / "VIDEO_TS";
    EXPECT_EQ(Folder, TDvdVolume::FindVideoTsFolder(Discs / "twelve"));
    EXPECT_EQ(Folder, TDvdVolume::FindVideoTsFolder(Folder));
    EXPECT_EQ(Folder, TDvdVolume::FindVideoTsFolder(Folder / "video_ts.ifo"));
    EXPECT_THROW(TDvdVolume::FindVideoTsFolder(Discs / "missing"), EIfoError);
    EXPECT_THROW(TDvdVolume::FindVideoTsFolder(Discs), EIfoError);
    EXPECT_THROW(TDvdVolume::FindVideoTsFolder(Folder / "VTS_01_0.IFO"), EIfoError);
}

TEST(IfoReader, FallsBackToTheBackupCopies) {
    fs::path Folder = CopyDisc("multi", "bup");
    WriteFile(Folder / "VIDEO_TS.IFO", {'D', 'V', 'D'});
    std::vector<uint8_t> Damaged = TDvdVolume::ReadSmallFile(Folder / "VTS_02_0.IFO");
    Put32(Damaged, 0xCC, 0x7FFFFFFF); // program chain table far past the end
    WriteFile(Folder / "VTS_02_0.IFO", Damaged);

    TDvdVolume Volume = TDvdVolume::Read(Folder);
    EXPECT_TRUE(Volume.ManagerFromBackup);
    EXPECT_FALSE(Volume.TitleSets[0].FromBackup);
    EXPECT_TRUE(Volume.TitleSets[1].FromBackup);
    EXPECT_EQ(4u, Volume.Titles[2].Chapters.size());

    WriteFile(Folder / "VTS_02_0.BUP", Damaged);
    EXPECT_THROW(TDvdVolume::Read(Folder), EIfoError);
}

TEST(IfoReader, FailsCleanlyOnInformationFilesThatCannotBeRead) {
    fs::path Folder = fs::path(VIREON_BUILD_DIR) / "testtmp" / "unreadable" / "VIDEO_TS";
    fs::remove_all(Folder.parent_path());
    fs::create_directories(Folder / "VIDEO_TS.IFO"); // a folder where the file should be
    EXPECT_THROW(TDvdVolume::Read(Folder), EIfoError);
    WriteFile(Folder / "VIDEO_TS.BUP", MakeVideoManager(2)); // names title sets that are missing
    EXPECT_THROW(TDvdVolume::Read(Folder), EIfoError);
    std::vector<uint8_t> Huge(MaxIfoFileSize + 1);
    WriteFile(Folder / "VTS_01_0.BUP", Huge);
    EXPECT_THROW(TDvdVolume::Read(Folder), EIfoError);
}

TEST(IfoReader, AcceptsAHugeSparseVobWithoutReadingIt) {
    fs::path Folder = CopyDisc("twelve", "sparse");
    fs::resize_file(Folder / "VTS_01_1.VOB", 2ull << 30);
    TDvdVolume Volume = TDvdVolume::Read(Folder);
    EXPECT_EQ(12u, Volume.Titles[0].Chapters.size());
    fs::remove_all(Folder.parent_path());
}

TEST(IfoReader, ReadsADiscHeldInMemoryThroughTheFileSystemSeam) {
    const fs::path OnDisk = Discs / "multi" / "VIDEO_TS";
    const fs::path Root = L"Q:\\nowhere", Folder = Root / "VIDEO_TS";
    ASSERT_FALSE(fs::exists(Root));
    TMemoryDvdFileSystem Memory;
    Memory.AddFolder(Root);
    Memory.AddFolder(Folder);
    std::map<fs::path, std::vector<uint8_t>> Bytes;
    for (const auto& Entry : fs::directory_iterator(OnDisk)) {
        fs::path Name = Entry.path().filename();
        if (Name.extension() == ".VOB") {
            Memory.AddSizedFile(Folder / Name, Entry.file_size());
        } else {
            Bytes[Name] = TDvdVolume::ReadSmallFile(Entry.path());
            Memory.AddFile(Folder / Name, Bytes[Name]);
        }
    }
    const TDvdVolume Disk = TDvdVolume::Read(OnDisk);
    const TDvdVolume Held = TDvdVolume::Read(Root, Memory);
    EXPECT_EQ(Folder, Held.Folder);
    EXPECT_FALSE(Held.ManagerFromBackup);
    ASSERT_EQ(Disk.Titles.size(), Held.Titles.size());
    for (size_t T = 0; T < Disk.Titles.size(); ++T) {
        SCOPED_TRACE(T);
        ASSERT_EQ(Disk.Titles[T].Chapters.size(), Held.Titles[T].Chapters.size());
        EXPECT_EQ(Disk.Titles[T].Chapters.back().LastSector, Held.Titles[T].Chapters.back().LastSector);
        EXPECT_EQ(Disk.TitleSetOf(Disk.Titles[T]).VobFiles.size(),
                  Held.TitleSetOf(Held.Titles[T]).VobFiles.size());
    }

    // A damaged manager in memory falls back to the backup in memory too.
    const std::vector<uint8_t> Damaged = {'D', 'V', 'D'};
    Memory.AddFile(Folder / "VIDEO_TS.IFO", Damaged);
    EXPECT_TRUE(TDvdVolume::Read(Folder / "VIDEO_TS.IFO", Memory).ManagerFromBackup);
    EXPECT_THROW(TDvdVolume::Read(Root / "elsewhere", Memory), EIfoError);
}

TEST(IfoReader, ReadsSyntheticTablesAndMapsChaptersToTime) {
    TSyntheticTitleSet Layout;
    Layout.Chapters = 5;
    Layout.ChapterMs = 1400;
    Layout.AudioLanguages = {"de", "ja"};
    Layout.SubpictureLanguages = {"sv"};
    std::vector<TVolumeTitleSet> Sets(1);
    Sets[0].Info = ParseTitleSet(MakeTitleSet(Layout));
    auto Titles = BuildTitles(ParseVideoManager(MakeVideoManager(1)), Sets);
    ASSERT_EQ(1u, Titles.size());
    ASSERT_EQ(3u, Titles[0].Chapters.size()); // the video manager lists 3 of the 5 chapters
    EXPECT_EQ(2800, Titles[0].Chapters[2].StartMs);
    EXPECT_EQ(7000, Titles[0].DurationMs);
    EXPECT_EQ("ja", Sets[0].Info.Audio[1].Language);
    EXPECT_EQ("sv", Sets[0].Info.Subpictures[0].Language);
}

TEST(IfoReader, RejectsDamagedTitleSets) {
    std::vector<uint8_t> Good = MakeTitleSet({});
    ASSERT_NO_THROW(ParseTitleSet(Good));

    ExpectParseFails(std::vector<uint8_t>(Good.begin(), Good.begin() + 0x100), "truncated header");
    ExpectParseFails(std::vector<uint8_t>(Good.begin(), Good.begin() + 4200), "truncated chain table");
    auto Wrong = Good;
    Wrong[9] = 'M';
    ExpectParseFails(Wrong, "wrong identifier");
    auto Past = Good;
    Put32(Past, 0xC8, 0xFFFFFFFF);
    ExpectParseFails(Past, "chapter table past the end");
    auto ManyTitles = Good;
    Put16(ManyTitles, ChapterTableOffset, 65535);
    ExpectParseFails(ManyTitles, "65535 titles");
    auto ManyChains = Good;
    Put16(ManyChains, ProgramChainTableOffset, 65535);
    ExpectParseFails(ManyChains, "65535 program chains");
    auto ManyAudio = Good;
    Put16(ManyAudio, 0x202, 65535);
    ExpectParseFails(ManyAudio, "65535 audio streams");
    auto Overlap = Good;
    Put32(Overlap, 0xCC, 1); // chain table on top of the chapter table
    ExpectParseFails(Overlap, "overlapping tables");
    auto BadProgram = Good;
    BadProgram[FirstProgramChainOffset + 0xEC + 1] = 200;
    ExpectParseFails(BadProgram, "program at a missing cell");
    auto Cyclic = Good;
    Put16(Cyclic, ChapterTableOffset + 12, 7); // chapter 1 names chain 7
    ExpectParseFails(Cyclic, "chapter names a missing chain");
    auto CellsPast = Good;
    Put16(CellsPast, FirstProgramChainOffset + 0xE8, 0xFFF0);
    ExpectParseFails(CellsPast, "cell table past the end");
    EXPECT_THROW(ParseTitleSet({}), EIfoError);
}

TEST(IfoReader, RejectsDamagedVideoManagers) {
    auto Good = MakeVideoManager(3);
    ASSERT_EQ(3u, ParseVideoManager(Good).Titles.size());
    auto Count = Good;
    Put16(Count, 2048, 65535);
    EXPECT_THROW(ParseVideoManager(Count), EIfoError);
    auto Set = Good;
    Set[2048 + 8 + 6] = 40; // title set 40 of 3
    EXPECT_THROW(ParseVideoManager(Set), EIfoError);
    auto Cut = std::vector<uint8_t>(Good.begin(), Good.begin() + 2060);
    EXPECT_THROW(ParseVideoManager(Cut), EIfoError);
    EXPECT_THROW(ParseVideoManager(MakeTitleSet({})), EIfoError);
}

TEST(DvdLanguages, GivesLocalesThatWindowsNames) {
    for (const char* Code : {"en", "fr", "de", "es", "it"}) {
        SCOPED_TRACE(Code);
        char Name[260] = {};
        ASSERT_NE(0, GetLocaleInfoA(LanguageCodeToLcid(Code), LOCALE_SENGLANGUAGE, Name, sizeof Name));
        EXPECT_EQ(LanguageEnglishName(Code), Name);
    }
    // Unknown, unlabelled and languages Windows has no locale of are named as no language.
    for (const char* Code : {"xx", "", "e", "eng", "vo"}) {
        SCOPED_TRACE(Code);
        EXPECT_EQ(UnknownLanguageLcid, LanguageCodeToLcid(Code));
    }
    char Name[260] = {};
    ASSERT_NE(0, GetLocaleInfoA(UnknownLanguageLcid, LOCALE_SENGLANGUAGE, Name, sizeof Name));
    EXPECT_STRNE("English", Name);
}

TEST(DvdLanguages, EveryIso639CodeWithALocaleIsNamedAsItself) {
    // Windows' own name of each language, for codes across the alphabet and the 1988 ones.
    const std::pair<const char*, const char*> Named[] = {{"cy", "Welsh"},
                                                         {"eu", "Basque"},
                                                         {"zu", "Zulu"},
                                                         {"af", "Afrikaans"},
                                                         {"sw", "Swahili"},
                                                         {"iw", "Hebrew"},
                                                         {"he", "Hebrew"},
                                                         {"in", "Indonesian"},
                                                         {"EN", "English"},
                                                         {"bs", "Bosnian"},
                                                         {"nn", "Norwegian Nynorsk"},
                                                         {"ka", "Georgian"},
                                                         {"yo", "Yoruba"},
                                                         {"ga", "Irish"}};
    for (const auto& [Code, Expected] : Named) {
        SCOPED_TRACE(Code);
        char Name[260] = {};
        ASSERT_NE(0, GetLocaleInfoA(LanguageCodeToLcid(Code), LOCALE_SENGLANGUAGE, Name, sizeof Name));
        EXPECT_EQ(std::string(Expected), std::string(Name).substr(0, std::strlen(Expected)));
    }
    // Every locale given is the code's own language; no code but "en" comes out as English, the
    // name Windows gives to what it does not know.
    const std::map<std::string, std::string> Renamed = {{"iw", "he"}, {"in", "id"},  {"ji", "yi"},
                                                        {"no", "nb"}, {"qu", "quz"}, {"tl", "fil"}};
    int Locales = 0;
    for (char First = 'a'; First <= 'z'; ++First)
        for (char Second = 'a'; Second <= 'z'; ++Second) {
            const std::string Code = {First, Second};
            uint32_t Lcid = LanguageCodeToLcid(Code);
            char Name[260] = {}, Iso[16] = {};
            GetLocaleInfoA(Lcid, LOCALE_SENGLANGUAGE, Name, sizeof Name);
            if (Code != "en") {
                EXPECT_STRNE("English", Name) << Code;
            }
            if (Lcid == UnknownLanguageLcid)
                continue;
            ++Locales;
            EXPECT_NE(0, GetLocaleInfoA(Lcid, LOCALE_SISO639LANGNAME, Iso, sizeof Iso)) << Code;
            auto Other = Renamed.find(Code);
            EXPECT_EQ(Other == Renamed.end() ? Code : Other->second, Iso) << Code;
        }
    EXPECT_GT(Locales, 100);
}

TEST(DvdTitleEnd, ReadsThePostCommandsDvdauthorWrote) {
    TDvdVolume Post = TDvdVolume::Read(Discs / "post");
    ASSERT_EQ(2u, Post.Titles.size());
    EXPECT_TRUE(Post.Titles[0].End.Jumps);
    EXPECT_EQ(2, Post.Titles[0].End.Title);
    EXPECT_FALSE(Post.Titles[1].End.Jumps); // its post command ends the play
    TDvdVolume Loop = TDvdVolume::Read(Discs / "loop");
    EXPECT_EQ(1, Loop.Titles[1].End.Title);
    TDvdVolume Nowhere = TDvdVolume::Read(Discs / "nowhere");
    EXPECT_TRUE(Nowhere.Titles[0].End.Jumps);
    EXPECT_EQ(0, Nowhere.Titles[0].End.Title);
    EXPECT_FALSE(TDvdVolume::Read(Discs / "twelve").Titles[0].End.Jumps);
}

TEST(DvdTitleEnd, DecodesSimpleJumpsAndNothingElse) {
    TVideoManager Manager;
    Manager.Titles = {{1, 1, 1, 1, 1, 0}, {1, 1, 1, 1, 2, 0}, {1, 1, 1, 2, 1, 0}};
    auto End = [&](std::vector<TNavCommand> Commands, int Set) {
        TProgramChain Chain;
        Chain.PostCommands = std::move(Commands);
        return DecodeTitleEnd(Chain, Manager, Set);
    };
    const TNavCommand Nop{}, Exit{0x30, 0x01};
    TTitleEnd InSet = End({Nop, {0x30, 0x03, 0, 0, 0, 1, 0, 0}}, 2); // title 1 of set 2
    EXPECT_TRUE(InSet.Jumps);
    EXPECT_EQ(3, InSet.Title);
    EXPECT_EQ(1, InSet.Chapter);
    TTitleEnd Chapter = End({{0x30, 0x05, 0x00, 0x02, 0, 2, 0, 0}}, 1);
    EXPECT_EQ(2, Chapter.Title);
    EXPECT_EQ(2, Chapter.Chapter);
    EXPECT_EQ(3, End({{0x30, 0x02, 0, 0, 0, 3, 0, 0}}, 1).Title); // volume-wide number
    TTitleEnd Missing = End({{0x30, 0x03, 0, 0, 0, 9, 0, 0}}, 1);
    EXPECT_TRUE(Missing.Jumps);
    EXPECT_EQ(0, Missing.Title);
    EXPECT_EQ(0, End({{0x30, 0x02, 0, 0, 0, 4, 0, 0}}, 1).Title);
    EXPECT_FALSE(End({Exit, {0x30, 0x03, 0, 0, 0, 2, 0, 0}}, 1).Jumps);
    EXPECT_FALSE(End({{0x30, 0x13, 0, 0, 0, 2, 0, 0}}, 1).Jumps); // conditional
    EXPECT_FALSE(End({}, 1).Jumps);
}
