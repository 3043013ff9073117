// The one conversion between the player's narrow texts (ANSI code page or UTF-8) and the wide
// texts of DirectShow, the shell and the skin engine. Characters that do not convert become the
// code page's default character; the conversions never throw on bad input.
#pragma once

#include <string>
#include <string_view>

namespace vireon {

std::wstring WideFromAnsi(std::string_view Text);
std::string AnsiFromWide(std::wstring_view Text);
std::wstring WideFromUtf8(std::string_view Text);
std::string Utf8FromWide(std::wstring_view Text);
// A file-system path in the form the player's ANSI file calls can open: the path itself when the
// code page holds every letter of it, else its short form when the file exists, else the closest
// ANSI text.
std::string AnsiPathFromWide(const std::wstring& Path);

} // namespace vireon
