#include "forms/LiveCounts.h"

namespace vireon {

TLiveCounts& LiveCounts() {
    static TLiveCounts counts;
    return counts;
}

} // namespace vireon
