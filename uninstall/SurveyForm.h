// The survey window: asks why the product is being removed and reports the answer when closed.
#pragma once

#include "uninstall/SurveyReport.h"
#include "uninstall/Win32Owners.h"

#include <string>
#include <vector>

namespace uninstall {

struct TSurveyCreateArgs {
    // The whole command line; its first argument is the product name, "_" standing for a blank.
    std::string CommandLine;
    TReportSettings Settings;
};

class TSurveyForm {
public:
    static constexpr int ReasonCount = 7;
    static const char* const Reasons[ReasonCount];
    static constexpr int UninstallButtonId = 100;

    explicit TSurveyForm(const TSurveyCreateArgs& args);
    TSurveyForm(const TSurveyForm&) = delete;
    TSurveyForm& operator=(const TSurveyForm&) = delete;
    ~TSurveyForm();

    HWND Form() const noexcept { return FForm.get(); }
    HWND HeaderPanel() const noexcept { return FHeaderPanel; }
    HWND HeaderLabel() const noexcept { return FHeaderLabel; }
    HWND QuestionLabel() const noexcept { return FQuestionLabel; }
    HWND ReasonGroup() const noexcept { return FReasonGroup; }
    HWND UninstallButton() const noexcept { return FUninstallButton; }
    HWND OtherText() const noexcept { return FOtherText; }
    // The seven reason buttons in table order.
    const std::vector<HWND>& ReasonButtons() const noexcept { return FReasonButtons; }
    const TReportSettings& Settings() const noexcept { return FSettings; }
    // No product name was given: the quit request is posted and nothing will be sent.
    bool QuitPosted() const noexcept { return FQuitPosted; }

    // Checks one reason and clears the others, as a click on it does.
    void SelectReason(int index);
    void Show(int showCommand);
    // The message loop until the program is told to quit; returns the exit code.
    int Run();
    // Handles every pending message; false when the quit request was met (it is posted again).
    bool ProcessMessages();
    // While the report waits (limitMs after start; 0 ends the watch): no system command or context
    // menu of the window starts a modal loop, and a menu loop that something else started is ended
    // once the wait is over, so that nothing holds the wait past its limit.
    void WatchWait(DWORD start, DWORD limitMs);

    // True while a statistics request is outstanding.
    bool Busy = false;
    std::string ProductName;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void CreateReasonButtons();
    void CenterQuestion();
    void CloseRequest();
    void WaitTimer();
    bool BlocksDuringWait(UINT message, WPARAM wParam) const;
    void PumpMessage(MSG& message);
    HWND CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent,
                     int left, int top, int width, int height, HFONT font, int id = 0);
    SIZE TextSize(const std::string& text, HFONT font) const;

    TReportSettings FSettings;
    TUniqueFont FFont;
    TUniqueFont FBoldFont;
    TUniqueWindow FForm;
    HWND FHeaderPanel = nullptr;
    HWND FHeaderLabel = nullptr;
    HWND FQuestionLabel = nullptr;
    HWND FReasonGroup = nullptr;
    HWND FUninstallButton = nullptr;
    HWND FOtherText = nullptr;
    std::vector<HWND> FReasonButtons;
    bool FQuitPosted = false;
    // A close request that arrives while the report waits is ignored.
    bool FReporting = false;
    DWORD FWaitStart = 0;
    DWORD FWaitLimit = 0;
};

} // namespace uninstall
