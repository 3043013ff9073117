// Runs one survey report whose server never confirms, with the real shell call of the mail fallback:
// the product name and the typed reason are made of the given numbers of letters.
// Usage: uninstall_mail_driver PRODUCT_LENGTH REASON_LENGTH
#include "uninstall/SurveyForm.h"

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    uninstall::TReportSettings settings;
    // Port 1 on the loopback refuses at once; the wait is kept short.
    settings.StatisticsHost = "127.0.0.1:1";
    settings.WaitMs = 300;
    const std::string product(static_cast<size_t>(std::atoi(argv[1])), 'p');
    uninstall::TSurveyForm form({"u " + product, settings});
    const std::string reason(static_cast<size_t>(std::atoi(argv[2])), 'r');
    SetWindowTextA(form.OtherText(), reason.c_str());
    PostMessageA(form.Form(), WM_CLOSE, 0, 0);
    return form.Run();
}
