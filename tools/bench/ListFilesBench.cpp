// ListFiles over a folder of many files, next to a bare FindFirstFile/FindNextFile loop over the
// same folder. Usage: bench_listfiles [file count]   (default 10000)

#include "BareFileSearch.h"
#include "BenchTiming.h"
#include "util/xFileUtil.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void RemoveFolder(const std::string& folder, int count) {
    for (int i = 0; i < count; ++i)
        DeleteFileA((folder + "\\clip" + std::to_string(i) + ".avi").c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "vireon-bench-listfiles-" + std::to_string(GetCurrentProcessId());
    RemoveFolder(folder, count);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        HANDLE file = CreateFileA((folder + "\\clip" + std::to_string(i) + ".avi").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot create the files in %s\n", folder.c_str());
            return 1;
        }
        CloseHandle(file);
    }

    // Interleaved rounds, best of each: both see the same cache state.
    const int rounds = 7;
    double bare = 1e9, listed = 1e9, filtered = 1e9;
    size_t bareCount = 0, listedCount = 0;
    for (int round = 0; round < rounds; ++round) {
        double start = benchtiming::NowMs();
        bareCount = BareFolderSearch(folder);
        bare = std::min(bare, benchtiming::NowMs() - start);

        std::vector<std::string> list;
        start = benchtiming::NowMs();
        vireon::ListFiles(folder, list, false);
        listed = std::min(listed, benchtiming::NowMs() - start);
        listedCount = list.size();

        list.clear();
        start = benchtiming::NowMs();
        vireon::ListFiles(folder, list, true, "avi;mpg;mpeg;vob;ifo");
        filtered = std::min(filtered, benchtiming::NowMs() - start);
    }
    RemoveFolder(folder, count);

    std::printf("ListFiles, %d files (best of %d):\n", count, rounds);
    std::printf("  bare FindFirstFile/FindNextFile loop  %8.2f ms  (%zu entries)\n", bare, bareCount);
    std::printf("  ListFiles                             %8.2f ms  (%zu files)  %.2fx bare\n", listed,
                listedCount, listed / bare);
    std::printf("  ListFiles recursive, extension list   %8.2f ms  %.2fx bare\n", filtered, filtered / bare);
    return listedCount == static_cast<size_t>(count) ? 0 : 1;
}
