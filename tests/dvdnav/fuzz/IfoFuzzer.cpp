// libFuzzer target over the IFO reader, built for the host with sanitizers: any bytes as a video
// manager and as a title set; a title set that parses is also turned into titles and described.
#include "dvdnav/DvdVolumeReport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    std::span<const uint8_t> Bytes(Data, Size);
    try {
        dvdnav::ParseVideoManager(Bytes);
    } catch (const dvdnav::EIfoError&) {
    }
    try {
        dvdnav::TDvdVolume Volume;
        Volume.TitleSets.resize(1);
        Volume.TitleSets[0].Info = dvdnav::ParseTitleSet(Bytes);
        Volume.Manager.TitleSetCount = 1;
        for (size_t Title = 1; Title <= Volume.TitleSets[0].Info.Titles.size(); ++Title)
            Volume.Manager.Titles.push_back({0, 1, 999, 1, static_cast<uint8_t>(Title), 0});
        Volume.Titles = dvdnav::BuildTitles(Volume.Manager, Volume.TitleSets);
        dvdnav::DescribeVolume(Volume);
    } catch (const dvdnav::EIfoError&) {
    }
    return 0;
}
