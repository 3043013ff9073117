// Reading a synthetic volume of 99 titles in 99 title sets, next to reading the same files' bytes
// alone. Target: the volume under 50 ms.
#include "SyntheticIfo.h"

#include "dvdnav/DvdVolume.h"

#include <chrono>
#include <cstdio>
#include <fstream>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

void Write(const fs::path& Path, const std::vector<uint8_t>& Data) {
    std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()), Data.size());
}

double Milliseconds(Clock::duration Elapsed) {
    return std::chrono::duration<double, std::milli>(Elapsed).count();
}

}  // namespace

int main(int argc, char** argv) {
    fs::path Folder = fs::path(argc > 1 ? argv[1] : "bench-volume99") / "VIDEO_TS";
    fs::create_directories(Folder);
    Write(Folder / "VIDEO_TS.IFO", dvdnav_test::MakeVideoManager(99));
    dvdnav_test::TSyntheticTitleSet Set;
    Set.Chapters = 20;
    Set.AudioLanguages = {"en", "fr", "de"};
    Set.SubpictureLanguages = {"en", "fr", "de", "es"};
    for (int N = 1; N <= 99; ++N) {
        char Name[32];
        std::snprintf(Name, sizeof Name, "VTS_%02d_0.IFO", N);
        Write(Folder / Name, dvdnav_test::MakeTitleSet(Set));
    }
    constexpr int Rounds = 5;
    double Best = 1e9, BestBaseline = 1e9;
    size_t Titles = 0;
    for (int Round = 0; Round < Rounds; ++Round) {
        auto Start = Clock::now();
        size_t Bytes = 0;
        for (const auto& Entry : fs::directory_iterator(Folder))
            Bytes += dvdnav::TDvdVolume::ReadSmallFile(Entry.path()).size();
        BestBaseline = std::min(BestBaseline, Milliseconds(Clock::now() - Start));
        Start = Clock::now();
        dvdnav::TDvdVolume Volume = dvdnav::TDvdVolume::Read(Folder);
        Best = std::min(Best, Milliseconds(Clock::now() - Start));
        Titles = Volume.Titles.size() + (Bytes == 0);
    }
    std::printf("read volume of %zu titles in 99 title sets: %.2f ms (target < 50 ms)\n", Titles, Best);
    std::printf("baseline, the same 100 files read as bytes: %.2f ms\n", BestBaseline);
    return Titles == 99 ? 0 : 1;
}
