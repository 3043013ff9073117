#include "common/TextConversion.h"

#include <windows.h>

#include <climits>

namespace vireon {

namespace {

std::wstring ToWide(UINT CodePage, std::string_view Text) {
    if (Text.empty() || Text.size() > INT_MAX)
        return {};
    const int Size = static_cast<int>(Text.size());
    const int Length = MultiByteToWideChar(CodePage, 0, Text.data(), Size, nullptr, 0);
    if (Length <= 0)
        return {};
    std::wstring Result(static_cast<size_t>(Length), L'\0');
    MultiByteToWideChar(CodePage, 0, Text.data(), Size, Result.data(), Length);
    return Result;
}

std::string ToNarrow(UINT CodePage, std::wstring_view Text) {
    if (Text.empty() || Text.size() > INT_MAX)
        return {};
    const int Size = static_cast<int>(Text.size());
    const int Length = WideCharToMultiByte(CodePage, 0, Text.data(), Size, nullptr, 0, nullptr, nullptr);
    if (Length <= 0)
        return {};
    std::string Result(static_cast<size_t>(Length), '\0');
    WideCharToMultiByte(CodePage, 0, Text.data(), Size, Result.data(), Length, nullptr, nullptr);
    return Result;
}

} // namespace

std::wstring WideFromAnsi(std::string_view Text) {
    return ToWide(CP_ACP, Text);
}

std::string AnsiFromWide(std::wstring_view Text) {
    return ToNarrow(CP_ACP, Text);
}

std::wstring WideFromUtf8(std::string_view Text) {
    return ToWide(CP_UTF8, Text);
}

std::string Utf8FromWide(std::wstring_view Text) {
    return ToNarrow(CP_UTF8, Text);
}

std::string AnsiPathFromWide(const std::wstring& Path) {
    BOOL lossy = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, 0, Path.c_str(), int(Path.size()), nullptr, 0, nullptr, &lossy);
    if (!lossy || size == 0)
        return AnsiFromWide(Path);
    std::wstring shortPath(MAX_PATH, L'\0');
    const DWORD length = GetShortPathNameW(Path.c_str(), shortPath.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return AnsiFromWide(Path);
    shortPath.resize(length);
    return AnsiFromWide(shortPath);
}

} // namespace vireon
