// Counts of the framework's live objects and platform resources, so tests can prove that freeing a
// form leaves nothing behind.
#pragma once

namespace vireon {

struct TLiveCounts {
    int Components = 0;
    int Windows = 0;
    int Menus = 0;
    int Timers = 0;
    int GdiObjects = 0;
};

TLiveCounts& LiveCounts();

} // namespace vireon
