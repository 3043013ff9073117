// Text helpers of the survey program: words, case, trimming, the command line.
#pragma once

#include <string>
#include <string_view>

namespace uninstall {

// The n-th (from 1) non-empty run of characters between delimiters; empty when there are fewer.
std::string ExtractWord(int n, std::string_view text, char delimiter);
// The same word as a view into text, for readers that only look at it.
std::string_view WordView(int n, std::string_view text, char delimiter);
// Changes only the ASCII letters a to z.
std::string UpperCase(std::string text);
// Drops leading and trailing characters of code 32 or less.
std::string TrimText(std::string_view text);
std::string_view TrimView(std::string_view text);
// Equal once the ASCII letters a to z of both are made capitals.
bool SameAsciiText(std::string_view text, std::string_view other);
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
bool StartsWith(std::string_view text, std::string_view prefix);
// The leading decimal number of a text, 0 when it starts with no digit; saturates instead of
// overflowing.
int LeadingNumber(std::string_view text);

// The index-th argument of a command line (0 is the program): blanks (code 32 or less) separate
// arguments, double quotes group and are removed, an empty pair of quotes between arguments is skipped.
std::string ParamStr(const std::string& commandLine, int index);

} // namespace uninstall
