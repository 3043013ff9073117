// Host fuzz target for the platform-free text and path routines: no crash, and answers that keep
// their promises for any bytes.

#include "util/xFileUtil.h"
#include "util/xUtils.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace vireon;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool IsIn(char c, std::string_view set) {
    return set.find(c) != std::string_view::npos;
}

// Words by a plain split, to hold ExtractWord against.
std::vector<std::string> Words(std::string_view text, std::string_view delims) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (IsIn(c, delims)) {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

void CheckWordPosition(std::string_view list, std::string_view word, std::string_view delims) {
    const int at = WordPosition(list, word, delims);
    if (at < 0) {
        Check(at == -1);
        return;
    }
    const size_t start = static_cast<size_t>(at) - 1;
    Check(!word.empty() && start + word.size() <= list.size());
    Check(SameTextLower(AsciiUpperCase(list.substr(start, word.size())), AsciiUpperCase(word)));
    const std::string upperDelims = AsciiUpperCase(delims);
    Check(start == 0 || IsIn(AsciiUpper(list[start - 1]), upperDelims));
    Check(start + word.size() == list.size() || IsIn(AsciiUpper(list[start + word.size()]), upperDelims));
}

void CheckPaths(std::string_view path) {
    const std::string withDelimiter = IncludePathDelimiter(path);
    Check(withDelimiter.empty() == path.empty());
    Check(std::string_view(withDelimiter).substr(0, path.size()) == path);
    Check(path.empty() || IsIn(withDelimiter.back(), "/:\\"));
    const std::string root = ExtractDriveRoot(path);
    Check(root.empty() || root.back() == '\\');
    const std::string extension = ExtractFileExtNoDot(path);
    Check(extension.find_first_of(".\\/:") == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const int n = static_cast<int8_t>(data[0]);
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    // Three fields separated by the byte 0x01: a text or list, a word, a delimiter set.
    const size_t first = rest.find('\x01');
    const std::string_view text = rest.substr(0, first);
    std::string_view word, delims;
    if (first != std::string_view::npos) {
        const std::string_view tail = rest.substr(first + 1);
        const size_t second = tail.find('\x01');
        word = tail.substr(0, second);
        delims = second == std::string_view::npos ? std::string_view(";") : tail.substr(second + 1);
    }

    CheckWordPosition(text, word, delims);
    const std::vector<std::string> words = Words(text, delims);
    const std::string extracted = ExtractWord(n, text, delims);
    Check(n >= 1 && static_cast<size_t>(n) <= words.size() ? extracted == words[n - 1] : extracted.empty());
    Check(SameTextLower(text, word) == SameTextLower(word, text));
    CheckPaths(text);
    return 0;
}
