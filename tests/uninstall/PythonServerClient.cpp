// Sends one survey report to the statistics host named by UNINSTALL_STATS_HOST (python_server.sh
// points it at Python's http.server) and says whether it counted as delivered. Exit code 0 when it did.
#include "uninstall/Seams.h"
#include "uninstall/SurveyForm.h"

#include <cstdio>

int main() {
    int mails = 0;
    uninstall::ReplaceShellOpen([&mails](const std::string& url) {
        ++mails;
        std::printf("mail fallback: %s\n", url.c_str());
    });
    uninstall::ReplaceMessageBox([](const std::string& caption, const std::string& text) {
        std::printf("box %s: %s\n", caption.c_str(), text.c_str());
    });
    uninstall::TSurveyForm form({"u Python_Check", uninstall::DefaultReportSettings()});
    form.SelectReason(0);
    PostMessageA(form.Form(), WM_CLOSE, 0, 0);
    form.Run();
    std::printf("%s\n", mails == 0 ? "delivered" : "not delivered");
    return mails == 0 ? 0 : 1;
}
