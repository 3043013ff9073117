// Delimited word lists and ASCII case helpers. Platform-free, so they can be fuzzed on the host.
#pragma once

#include <string>
#include <string_view>

namespace vireon {

// True when both texts are equal after lower-casing; only the ASCII letters change case, other
// bytes of the ANSI code page compare as they are.
bool SameTextLower(std::string_view a, std::string_view b);

// 1-based position in List of the first occurrence of Word that is a whole word (bounded by the
// list's ends or by characters of Delims), compared in ASCII upper case; -1 when there is none.
// An empty word is never found.
int WordPosition(std::string_view list, std::string_view word, std::string_view delims);

// The N-th word (from 1) of Text, words being maximal runs of characters outside Delims; empty when
// Text has fewer words or N is below 1.
std::string ExtractWord(int n, std::string_view text, std::string_view delims);

char AsciiUpper(char c);
char AsciiLower(char c);
std::string AsciiUpperCase(std::string_view text);

} // namespace vireon
