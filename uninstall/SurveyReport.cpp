#include "uninstall/SurveyReport.h"

#include "uninstall/HttpGet.h"
#include "uninstall/Seams.h"
#include "uninstall/SurveyControls.h"
#include "uninstall/SurveyForm.h"
#include "uninstall/UStr.h"
#include "uninstall/WindowsVersion.h"

#include <cstdlib>

namespace uninstall {

namespace {

constexpr int OtherChildIndex = 7;

bool LastHeaderIsOk(const THttpRequest& request) {
    return !request.HeaderLines.empty() && request.HeaderLines.back() == "OK";
}

} // namespace

std::string SystemEllipsis() {
    char ellipsis[8] = {};
    BOOL replaced = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, 0, L"\u2026", 1, ellipsis, sizeof ellipsis, nullptr, &replaced);
    if (size <= 0 || replaced)
        return "...";
    return std::string(ellipsis, static_cast<size_t>(size));
}

TReportSettings DefaultReportSettings() {
    TReportSettings settings;
    if (const char* host = std::getenv("UNINSTALL_STATS_HOST"); host && IsStatisticsHost(host))
        settings.StatisticsHost = host;
    return settings;
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
    const THttpAnswer& answer = request.Answer();
    return request.Finished() || answer.Complete() || answer.Malformed() ||
           (answer.Unframed() && LastHeaderIsOk(request));
}

bool ReportDelivered(const THttpRequest& request) {
    const THttpAnswer& answer = request.Answer();
    const bool whole = answer.Complete() || (answer.Unframed() && !answer.Truncated());
    return !request.Oversized() && !answer.Malformed() && whole && LastHeaderIsOk(request);
}

void SendReport(TSurveyForm& form) {
    // Started without a product name, the program sends nothing, whatever closes the window.
    if (form.QuitPosted())
        return;
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
    // A URL the client refuses starts no exchange: there is nothing to wait for.
    form.Busy = !client.Refused();
    form.WatchWait(start, settings.WaitMs);
    while (form.Busy) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= settings.WaitMs || !form.ProcessMessages())
            break;
        if (form.Busy)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, settings.WaitMs - elapsed, QS_ALLINPUT);
    }
    form.WatchWait(0, 0);
    if (!ReportDelivered(client))
        ShellOpen(MailUrl(settings.SurveyMail, form.ProductName, *reason, SystemEllipsis()));
}

} // namespace uninstall
