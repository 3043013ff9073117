// The bare baseline of the folder benchmarks: one plain FindFirstFile/FindNextFile pass.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

inline size_t BareFolderSearch(const std::string& folder) {
    size_t count = 0;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        ++count;
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return count;
}
