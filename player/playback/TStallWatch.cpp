#include "playback/TStallWatch.h"

namespace vireon {

bool TStallWatch::Stalled(int64_t Position, DWORD Now) {
    if (!FWatching || Position != FPosition) {
        FWatching = true;
        FReported = false;
        FPosition = Position;
        FSince = Now;
        return false;
    }
    // Unsigned difference: right across the tick count's wrap.
    if (FReported || Now - FSince < kLimitMs)
        return false;
    FReported = true;
    return true;
}

} // namespace vireon
