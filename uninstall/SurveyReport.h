// The statistics report sent when the survey window closes, and its mail fallback.
#pragma once

#include "uninstall/SurveyEncoding.h"

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

// The shipped settings. The environment variable UNINSTALL_STATS_HOST, when it holds a host with an
// optional ":port" and nothing else, replaces the statistics host, so that tests and benchmarks can
// point the program at a server on 127.0.0.1; nothing else changes.
TReportSettings DefaultReportSettings();

// The ellipsis in the system's ANSI code page; three dots when the code page has none.
std::string SystemEllipsis();

// The reason of the first checked child of the reason group, child 7 ("Other") with ": " and the
// free text appended; none when no child is checked.
std::optional<std::string> SelectedReason(HWND reasonGroup, HWND otherText);
// The wait is over: the connection ended, the answer is complete as its framing says, or an answer
// read to the end of the connection already ends in the line "OK".
bool AnswerComplete(const THttpRequest& request);
// Delivered: an answer, whole and readable, whose last header line is exactly "OK".
bool ReportDelivered(const THttpRequest& request);

// The survey window's close handler: sends the report, waits for the confirmation while processing
// window messages, and prepares a mail when none comes. It never refuses the close.
void SendReport(TSurveyForm& form);

} // namespace uninstall
