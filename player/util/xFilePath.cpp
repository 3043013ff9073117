// The platform-free half of xFileUtil.h.
#include "util/xFileUtil.h"

#include "util/xUtils.h"

namespace vireon {

namespace {

bool IsAsciiLetter(char c) {
    return AsciiUpper(c) >= 'A' && AsciiUpper(c) <= 'Z';
}

} // namespace

std::string ExtractFileExtNoDot(std::string_view fileName) {
    const size_t at = fileName.find_last_of(".\\/:");
    if (at == std::string_view::npos || fileName[at] != '.')
        return {};
    return std::string(fileName.substr(at + 1));
}

std::string IncludePathDelimiter(std::string_view path) {
    std::string result(path);
    if (result.empty())
        return result;
    const char last = result.back();
    if (last == '/' || last == ':' || last == '\\')
        return result;
    if (result.size() == 1 && IsAsciiLetter(last))
        return result + ":\\";
    result += result.find('/') != std::string::npos ? '/' : '\\';
    return result;
}

std::string ExtractDriveRoot(std::string_view path) {
    // "/" separates as well as "\": a share named up to the next "/" would give a root that is none.
    constexpr std::string_view separators = "\\/";
    if (path.starts_with("\\\\")) {
        // A share root needs both the server and the share; "\\" or "\\server" alone is no root.
        const std::string server = ExtractWord(1, path, separators);
        const std::string share = ExtractWord(2, path, separators);
        if (server.empty() || share.empty())
            return {};
        return "\\\\" + server + "\\" + share + "\\";
    }
    // Only a drive letter, alone or followed by ":", makes a root; a relative path has none.
    const std::string first = ExtractWord(1, path, separators);
    if (first.empty() || !IsAsciiLetter(first[0]))
        return {};
    if (first.size() == 1 || first[1] == ':')
        return first.substr(0, 1) + ":\\";
    return {};
}

} // namespace vireon
