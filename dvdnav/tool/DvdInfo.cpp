// dvdinfo PATH: prints what our reader finds on a DVD-Video volume (PATH: a VIDEO_TS folder, its
// parent or a VIDEO_TS.IFO). Our debugging aid, and how tests compare our reading with other tools.
#include "dvdnav/DvdVolumeReport.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dvdinfo PATH (a VIDEO_TS folder, its parent or VIDEO_TS.IFO)\n");
        return 2;
    }
    try {
        dvdnav::TDvdVolume Volume = dvdnav::TDvdVolume::Read(argv[1]);
        std::fputs(dvdnav::DescribeVolume(Volume).c_str(), stdout);
        return 0;
    } catch (const dvdnav::EIfoError& Error) {
        std::fprintf(stderr, "dvdinfo: %s\n", Error.what());
        return 1;
    }
}
