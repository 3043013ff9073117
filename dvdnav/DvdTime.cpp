#include "dvdnav/DvdTime.h"

namespace dvdnav {

namespace {

uint8_t FromBcd(uint8_t Value) {
    return static_cast<uint8_t>((Value >> 4) * 10 + (Value & 0x0F));
}

}  // namespace

TDvdTime DecodeDvdTime(uint32_t Raw) {
    TDvdTime Time;
    Time.Hours = FromBcd(static_cast<uint8_t>(Raw >> 24));
    Time.Minutes = FromBcd(static_cast<uint8_t>(Raw >> 16));
    Time.Seconds = FromBcd(static_cast<uint8_t>(Raw >> 8));
    Time.Frames = FromBcd(static_cast<uint8_t>(Raw & 0x3F));
    switch ((Raw >> 6) & 0x03) {
    case 1:
        Time.FrameRate = 25;
        break;
    case 3:
        Time.FrameRate = 30;
        break;
    default:
        Time.FrameRate = 0;
        break;
    }
    return Time;
}

int64_t DvdTimeToMilliseconds(const TDvdTime& Time) {
    int64_t Ms = ((int64_t{Time.Hours} * 60 + Time.Minutes) * 60 + Time.Seconds) * 1000;
    if (Time.FrameRate == 25)
        Ms += int64_t{Time.Frames} * 1000 / 25;
    else if (Time.FrameRate == 30)
        Ms += int64_t{Time.Frames} * 100000 / 2997;
    return Ms;
}

TDvdTime MillisecondsToDvdTime(int64_t Milliseconds, int FrameRate) {
    if (Milliseconds < 0)
        Milliseconds = 0;
    TDvdTime Time;
    int64_t Seconds = Milliseconds / 1000;
    int64_t Hours = Seconds / 3600;
    Time.Hours = static_cast<uint8_t>(Hours > 255 ? 255 : Hours);
    Time.Minutes = static_cast<uint8_t>(Seconds / 60 % 60);
    Time.Seconds = static_cast<uint8_t>(Seconds % 60);
    Time.FrameRate = FrameRate;
    int64_t Rest = Milliseconds % 1000;
    Time.Frames = static_cast<uint8_t>(FrameRate == 30 ? Rest * 2997 / 100000 : Rest * 25 / 1000);
    return Time;
}

}  // namespace dvdnav
