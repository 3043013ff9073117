#include "util/xUtils.h"

#include <algorithm>

namespace vireon {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiUpperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
    return result;
}

bool SameTextLower(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

int WordPosition(std::string_view list, std::string_view word, std::string_view delims) {
    if (word.empty())
        return -1;
    const std::string text = AsciiUpperCase(list);
    const std::string wanted = AsciiUpperCase(word);
    // Letters among the delimiters are compared in upper case like the rest.
    const std::string separators = AsciiUpperCase(delims);
    auto isDelimiter = [&separators](char c) { return separators.find(c) != std::string::npos; };
    for (size_t from = 0;;) {
        const size_t at = text.find(wanted, from);
        if (at == std::string::npos)
            return -1;
        const size_t end = at + wanted.size();
        const bool startsWord = at == 0 || isDelimiter(text[at - 1]);
        const bool endsWord = end == text.size() || isDelimiter(text[end]);
        if (startsWord && endsWord)
            return static_cast<int>(at) + 1;
        from = at + 1;
    }
}

std::string ExtractWord(int n, std::string_view text, std::string_view delims) {
    if (n < 1)
        return {};
    auto isDelimiter = [delims](char c) { return delims.find(c) != std::string_view::npos; };
    size_t i = 0;
    for (int count = 1;; ++count) {
        while (i < text.size() && isDelimiter(text[i]))
            ++i;
        if (i == text.size())
            return {};
        const size_t start = i;
        while (i < text.size() && !isDelimiter(text[i]))
            ++i;
        if (count == n)
            return std::string(text.substr(start, i - start));
    }
}

} // namespace vireon
