// Playback times as stored in DVD-Video tables: BCD hours, minutes, seconds and frames, the top two
// bits of the frame byte giving the frame rate. Platform-free.
#pragma once

#include <cstdint>

namespace dvdnav {

struct TDvdTime {
    uint8_t Hours = 0;
    uint8_t Minutes = 0;
    uint8_t Seconds = 0;
    uint8_t Frames = 0;
    int FrameRate = 0;  // 25, 30 or 0 when the rate bits are not set
};

// Decodes the four stored bytes (big-endian). Digits above 9 are taken as they are, like players do,
// so a damaged time gives a wrong length, never a failure.
TDvdTime DecodeDvdTime(uint32_t Raw);

// Length in milliseconds; frames count at 25 or 29.97 per second.
int64_t DvdTimeToMilliseconds(const TDvdTime& Time);

// Whole time from milliseconds at the given frame rate (25 or 30).
TDvdTime MillisecondsToDvdTime(int64_t Milliseconds, int FrameRate);

}  // namespace dvdnav
