// The file-system half of xFileUtil.h, on the platform's ANSI file functions.
#include "util/xFileUtil.h"

#include "common/Win32Handles.h"
#include "util/xUtils.h"

#include <set>
#include <tuple>

namespace vireon {

namespace {

// A folder's identity on its volume: what makes a folder reached twice (through a link back to one
// of its parents) recognisable, so that recursion ends and nothing is listed twice.
using FolderIdentity = std::tuple<DWORD, DWORD, DWORD>;

bool IdentifyFolder(const std::string& folder, FolderIdentity& identity) {
    UniqueFile handle(CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle || !GetFileInformationByHandle(handle.get(), &info))
        return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// A long name the ANSI code page cannot spell comes back with "?" in it, which no file name holds;
// the short name still opens the file.
const char* UsableName(const WIN32_FIND_DATAA& entry) {
    if (std::string_view(entry.cFileName).find('?') != std::string_view::npos && entry.cAlternateFileName[0])
        return entry.cAlternateFileName;
    return entry.cFileName;
}

class FileLister {
public:
    FileLister(std::vector<std::string>& list, bool recursive, std::string_view extensions,
               std::string_view prefix)
        : list_(list), recursive_(recursive), extensions_(extensions), prefix_(prefix) {}

    void List(const std::string& folder) {
        const std::string base = IncludePathDelimiter(folder);
        if (recursive_ && !FirstVisit(base))
            return;
        const std::string pattern = base + prefix_ + "*.*";
        WIN32_FIND_DATAA entry;
        UniqueFindHandle find(FindFirstFileA(pattern.c_str(), &entry));
        if (!find)
            return;
        do {
            if (IsDotEntry(entry.cFileName))
                continue;
            const char* name = UsableName(entry);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (recursive_)
                    List(base + name);
            } else if (Accepted(name)) {
                list_.push_back(base + name);
            }
        } while (FindNextFileA(find.get(), &entry));
    }

private:
    bool FirstVisit(const std::string& base) {
        FolderIdentity identity;
        if (!IdentifyFolder(base, identity))
            return true;
        return visited_.insert(identity).second;
    }

    bool Accepted(const char* name) const {
        return extensions_.empty() || WordPosition(extensions_, ExtractFileExtNoDot(name), ";") >= 0;
    }

    std::vector<std::string>& list_;
    const bool recursive_;
    const std::string_view extensions_;
    const std::string prefix_;
    std::set<FolderIdentity> visited_;
};

} // namespace

std::string AppPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of("\\/:") + 1);
}

void ListFiles(std::string_view folder, std::vector<std::string>& list, bool recursive,
               std::string_view extensions, std::string_view prefix) {
    // An empty folder name would search the current directory and give relative names.
    if (folder.empty())
        return;
    FileLister(list, recursive, extensions, prefix).List(std::string(folder));
}

int64_t GetFileSize64(std::string_view fileName) {
    // A file search would take wildcards as a pattern and answer the size of some other file.
    if (fileName.empty() || fileName.find_first_of("*?") != std::string_view::npos)
        return -1;
    const std::string name(fileName);
    std::string fullPath(MAX_PATH, '\0');
    DWORD length =
        GetFullPathNameA(name.c_str(), static_cast<DWORD>(fullPath.size()), fullPath.data(), nullptr);
    if (length >= fullPath.size()) {
        fullPath.resize(length);
        length =
            GetFullPathNameA(name.c_str(), static_cast<DWORD>(fullPath.size()), fullPath.data(), nullptr);
    }
    if (length == 0 || length >= fullPath.size())
        return -1;
    fullPath.resize(length);
    WIN32_FIND_DATAA entry;
    UniqueFindHandle find(FindFirstFileA(fullPath.c_str(), &entry));
    if (!find)
        return -1;
    return (static_cast<int64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

} // namespace vireon
