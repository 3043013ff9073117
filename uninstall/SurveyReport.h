// The statistics report sent when the survey window closes, and its mail fallback.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <winsock2.h>
#include <windows.h>

namespace uninstall {

class THttpRequest;
class TSurveyForm;

struct TReportSettings {
    // Host (optionally with ":port") of the statistics address "http://HOST/stat/uninstall.php".
    std::string StatisticsHost = "stats.vireon.example";
    std::string SurveyMail = "survey@vireon.example";
    // How long the report waits for the server's confirmation.
    uint32_t WaitMs = 10000;
};

// The shipped settings. The environment variable UNINSTALL_STATS_HOST, when set and not empty,
// replaces the statistics host, so that tests and benchmarks can point the program at a server on
// 127.0.0.1; nothing else changes.
TReportSettings DefaultReportSettings();

// Letters, digits and ! $ ' ( ) * - . @ _ stay; a blank becomes "+"; every other byte "%xx".
std::string UrlEncode(const std::string& text);
std::string ReportUrl(const std::string& statisticsHost, const std::string& product,
                      const std::string& reason, const std::string& osName);
// "mailto:" with the subject "uninstall PRODUCT" encoded and the reason as body, blanks as "%20".
std::string MailUrl(const std::string& surveyMail, const std::string& product, const std::string& reason);

// The reason of the first checked child of the reason group, child 7 ("Other") with ": " and the
// free text appended; none when no child is checked.
std::optional<std::string> SelectedReason(HWND reasonGroup, HWND otherText);
// The answer is complete when its last header line is "OK" or the server has closed the connection.
bool AnswerComplete(const THttpRequest& request);
// Delivered: a complete answer whose last header line is exactly "OK".
bool ReportDelivered(const THttpRequest& request);

// The survey window's close handler: sends the report, waits for the confirmation while processing
// window messages, and prepares a mail when none comes. It never refuses the close.
void SendReport(TSurveyForm& form);

} // namespace uninstall
