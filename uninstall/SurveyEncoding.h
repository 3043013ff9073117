// The texts of the survey's report, free of the platform: the statistics URL with its encoded values,
// the prepared mail's link, and the check of the statistics host setting.
#pragma once

#include <string>

namespace uninstall {

// Letters, digits and ! $ ' ( ) * - . @ _ stay; a blank becomes "+"; every other byte "%xx".
std::string UrlEncode(const std::string& text);
// For a value in a "mailto:" field: letters, digits and - . _ ~ ! $ ' ( ) * + , ; : @ stay, every
// other byte (a blank too) becomes "%XX".
std::string MailEncode(const std::string& text);
// Undoes "%xx" escapes (either case); anything else is copied.
std::string PercentDecode(const std::string& text);

std::string ReportUrl(const std::string& statisticsHost, const std::string& product,
                      const std::string& reason, const std::string& osName);

// The shell cannot take long links (Wine's crashes past about 1000 characters, Windows refuses past
// about 2000), so the prepared mail's link stays shorter than this.
constexpr size_t MaxMailUrl = 900;
// The ANSI ellipsis of the Western code page.
constexpr char AnsiEllipsis[] = "\x85";

// "mailto:" with the subject "uninstall PRODUCT" and the reason as body, both encoded for the link.
// When the link would reach MaxMailUrl, the product name and the reason are cut and end in ellipsis,
// the shorter of the two keeping all it can.
std::string MailUrl(const std::string& surveyMail, const std::string& product, const std::string& reason,
                    const std::string& ellipsis = AnsiEllipsis);

// A host name or dotted address, optionally with ":port" (1 to 65535), and nothing else.
bool IsStatisticsHost(const std::string& text);

} // namespace uninstall
