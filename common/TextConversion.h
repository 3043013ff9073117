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

} // namespace vireon
