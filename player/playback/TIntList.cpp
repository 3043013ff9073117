#include "playback/TIntList.h"

#include "util/xUtils.h"

namespace vireon {

int TIntList::IndexOf(const std::string& Key) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (SameTextLower(FItems[i].Key, Key))
            return static_cast<int>(i);
    return -1;
}

int64_t TIntList::GetValueOf(const std::string& Key) const {
    int index = IndexOf(Key);
    return index < 0 ? 0 : FItems[index].Value;
}

void TIntList::SetValueOf(const std::string& Key, int64_t Value) {
    int index = IndexOf(Key);
    if (index < 0)
        FItems.push_back({Key, Value});
    else
        FItems[index].Value = Value;
}

} // namespace vireon
