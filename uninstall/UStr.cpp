#include "uninstall/UStr.h"

#include <climits>

namespace uninstall {

std::string ExtractWord(int n, std::string_view text, char delimiter) {
    return std::string(WordView(n, text, delimiter));
}

std::string_view WordView(int n, std::string_view text, char delimiter) {
    size_t pos = 0;
    for (int word = 1; pos < text.size(); ++word) {
        while (pos < text.size() && text[pos] == delimiter)
            ++pos;
        if (pos == text.size())
            break;
        size_t end = text.find(delimiter, pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (word == n)
            return text.substr(pos, end - pos);
        pos = end;
    }
    return {};
}

namespace {
char AsciiCapital(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
} // namespace

std::string UpperCase(std::string text) {
    for (char& c : text)
        c = AsciiCapital(c);
    return text;
}

bool SameAsciiText(std::string_view text, std::string_view other) {
    if (text.size() != other.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (AsciiCapital(text[i]) != AsciiCapital(other[i]))
            return false;
    return true;
}

std::string TrimText(std::string_view text) {
    return std::string(TrimView(text));
}

std::string_view TrimView(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty())
        return text;
    for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
    return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix);
}

int LeadingNumber(std::string_view text) {
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}

std::string ParamStr(const std::string& commandLine, int index) {
    const size_t size = commandLine.size();
    size_t pos = 0;
    std::string argument;
    for (int current = 0; current <= index; ++current) {
        // Skip blanks and empty quote pairs before the argument.
        while (pos < size) {
            if (IsBlank(commandLine[pos]))
                ++pos;
            else if (commandLine[pos] == '"' && pos + 1 < size && commandLine[pos + 1] == '"')
                pos += 2;
            else
                break;
        }
        argument.clear();
        while (pos < size && !IsBlank(commandLine[pos])) {
            if (commandLine[pos] == '"') {
                size_t close = commandLine.find('"', pos + 1);
                if (close == std::string::npos)
                    close = size;
                argument.append(commandLine, pos + 1, close - pos - 1);
                pos = close < size ? close + 1 : size;
            } else {
                argument += commandLine[pos++];
            }
        }
    }
    return argument;
}

} // namespace uninstall
