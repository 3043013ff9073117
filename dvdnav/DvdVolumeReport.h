// Text report of what the reader finds on a volume, one block per title (the dvdinfo tool's output).
#pragma once

#include "dvdnav/DvdVolume.h"

#include <string>

namespace dvdnav {

// "H:MM:SS.mmm"
std::string FormatDuration(int64_t Milliseconds);

std::string DescribeVolume(const TDvdVolume& Volume);

}  // namespace dvdnav
