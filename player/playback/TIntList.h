// A list of keys, each with one 64-bit integer, in insertion order. Keys are found without regard
// to case, as the player compares file and folder names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vireon {

class TIntList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Strings(int Index) const { return FItems.at(Index).Key; }
    int64_t GetValue(int Index) const { return FItems.at(Index).Value; }
    // The key's integer, 0 when the key is absent.
    int64_t GetValueOf(const std::string& Key) const;
    // Overwrites the key's integer, or appends the key with Value.
    void SetValueOf(const std::string& Key, int64_t Value);
    // Position of the key, -1 when absent.
    int IndexOf(const std::string& Key) const;
    void Clear() { FItems.clear(); }

private:
    struct TEntry {
        std::string Key;
        int64_t Value;
    };
    std::vector<TEntry> FItems;
};

} // namespace vireon
