#include "uninstall/SurveyReport.h"

#include "uninstall/HttpGet.h"
#include "uninstall/Seams.h"
#include "uninstall/SurveyControls.h"
#include "uninstall/SurveyForm.h"
#include "uninstall/UStr.h"
#include "uninstall/WindowsVersion.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace uninstall {

namespace {

constexpr int OtherChildIndex = 7;

bool IsKeptInUrl(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9'))
        return true;
    return byte != 0 && std::strchr("!$'()*-.@_", byte) != nullptr;
}

bool LastHeaderIsOk(const THttpRequest& request) {
    return !request.HeaderLines.empty() && request.HeaderLines.back() == "OK";
}

} // namespace

TReportSettings DefaultReportSettings() {
    TReportSettings settings;
    if (const char* host = std::getenv("UNINSTALL_STATS_HOST"); host && *host)
        settings.StatisticsHost = host;
    return settings;
}

std::string UrlEncode(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsKeptInUrl(byte)) {
            out += c;
        } else if (byte == ' ') {
            out += '+';
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%.2x", byte);
            out += escaped;
        }
    }
    return out;
}

std::string ReportUrl(const std::string& statisticsHost, const std::string& product,
                      const std::string& reason, const std::string& osName) {
    return "http://" + statisticsHost + "/stat/uninstall.php" + "?prj=" + UrlEncode(product) +
           "&reason=" + UrlEncode(reason) + "&os=" + UrlEncode(osName);
}

std::string MailUrl(const std::string& surveyMail, const std::string& product, const std::string& reason) {
    return "mailto:" + surveyMail + "?subject=" + UrlEncode("uninstall " + product) +
           "&body=" + ReplaceAll(reason, " ", "%20");
}

std::optional<std::string> SelectedReason(HWND reasonGroup, HWND otherText) {
    int index = 0;
    for (HWND child = GetWindow(reasonGroup, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT), ++index) {
        if (SendMessageA(child, BM_GETCHECK, 0, 0) != BST_CHECKED)
            continue;
        std::string reason = WindowText(child);
        if (index == OtherChildIndex)
            reason += ": " + WindowText(otherText);
        return reason;
    }
    return std::nullopt;
}

bool AnswerComplete(const THttpRequest& request) {
    return request.Finished() || LastHeaderIsOk(request);
}

bool ReportDelivered(const THttpRequest& request) {
    return !request.Oversized() && LastHeaderIsOk(request);
}

void SendReport(TSurveyForm& form) {
    const std::optional<std::string> reason = SelectedReason(form.ReasonGroup(), form.OtherText());
    if (!reason)
        return;
    const TReportSettings& settings = form.Settings();
    THttpRequest client;
    client.Url = ReportUrl(settings.StatisticsHost, form.ProductName, *reason, GetWindowsVersionName());
    // The answer may come in several batches: the report waits for all of it, not just the first.
    client.OnDone = [&form](THttpRequest& sender) {
        if (AnswerComplete(sender))
            form.Busy = false;
    };
    form.Busy = true;
    const DWORD start = GetTickCount();
    client.Get();
    while (form.Busy) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= settings.WaitMs || !form.ProcessMessages())
            break;
        if (form.Busy)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, settings.WaitMs - elapsed, QS_ALLINPUT);
    }
    if (!ReportDelivered(client))
        ShellOpen(MailUrl(settings.SurveyMail, form.ProductName, *reason));
}

} // namespace uninstall
