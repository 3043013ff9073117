#include "uninstall/SurveyForm.h"

#include "uninstall/SurveyControls.h"
#include "uninstall/UStr.h"

namespace uninstall {

namespace {

constexpr char FormClass[] = "TSurveyForm";
constexpr UINT_PTR WaitTimerId = 1;
constexpr UINT WaitTimerMs = 50;
// The group's inner area leaves 22 pixels at the top and 2 at the bottom.
constexpr int GroupHeight = 181;
constexpr int GroupInnerHeight = GroupHeight - 24;
constexpr int RowStep = (GroupInnerHeight - 16) / 6;

void RegisterFormClass(HINSTANCE instance, WNDPROC TSurveyFormProc) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, FormClass, &existing))
        return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = TSurveyFormProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, 32, 32, LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, 16, 16, LR_SHARED));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = FormClass;
    RegisterClassExA(&windowClass);
}

HFONT CreateTahoma(int weight) {
    return CreateFontA(-11, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma");
}

} // namespace

const char* const TSurveyForm::Reasons[ReasonCount] = {"Unstable",
                                                       "Lacks some functions",
                                                       "Resource hungry",
                                                       "Unfriendly interface",
                                                       "Too expensive",
                                                       "Upgrade version",
                                                       "Other"};

TSurveyForm::TSurveyForm(const TSurveyCreateArgs& args)
    : FSettings(args.Settings), FFont(CreateTahoma(FW_NORMAL)), FBoldFont(CreateTahoma(FW_BOLD)) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterFormClass(instance, WindowProc);
    RegisterSurveyControlClasses(instance);
    CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE, FormClass, "Uninstall",
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 324, 199, 430, 314, nullptr,
                    nullptr, instance, this);
    // The creation step.
    ProductName.clear();
    SetWindowLongPtrA(Form(), GWL_STYLE, GetWindowLongPtrA(Form(), GWL_STYLE) | WS_POPUP | WS_CAPTION);
    SetWindowLongPtrA(Form(), GWL_EXSTYLE, WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE);
    const std::string product = ParamStr(args.CommandLine, 1);
    if (product.empty()) {
        PostQuitMessage(0);
        FQuitPosted = true;
    }
    ProductName = ReplaceAll(product, "_", " ");
    CreateControls();
}

TSurveyForm::~TSurveyForm() = default;

HWND TSurveyForm::CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle,
                              HWND parent, int left, int top, int width, int height, HFONT font, int id) {
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, left, top, width,
                                 height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

SIZE TSurveyForm::TextSize(const std::string& text, HFONT font) const {
    TWindowDC dc(Form());
    TSelectObject select(dc.get(), font);
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void TSurveyForm::CreateControls() {
    FQuestionLabel =
        CreateChild("STATIC", "", SS_LEFT | SS_NOPREFIX, 0, Form(), 0, 36, 0, 0, FBoldFont.get());
    FHeaderPanel = CreateChild(HeaderPanelClass, "", WS_CLIPCHILDREN, 0, Form(), 4, 8, 412, 20, FFont.get());
    FHeaderLabel = CreateChild("STATIC", "", SS_OWNERDRAW, 0, FHeaderPanel, 8, 3, 0, 22, FBoldFont.get());
    FReasonGroup = CreateChild(ReasonGroupClass, "", 0, WS_EX_CONTROLPARENT, Form(), 16, 60, 389, GroupHeight,
                               FFont.get());
    const int editHeight = TextSize("Wg", FFont.get()).cy + 8;
    FOtherText = CreateChild("EDIT", "", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                             FReasonGroup, 78, 150, 301, editHeight, FFont.get());
    SendMessageA(FOtherText, EM_SETLIMITTEXT, 0, 0);
    FUninstallButton = CreateChild("BUTTON", "", WS_TABSTOP | BS_OWNERDRAW, 0, Form(), 328, 252, 76, 25,
                                   FFont.get(), UninstallButtonId);
    CreateReasonButtons();
    const std::string header = "Question:";
    SetWindowTextA(FHeaderLabel, header.c_str());
    SetWindowPos(FHeaderLabel, nullptr, 0, 0, TextSize(header, FBoldFont.get()).cx, 22,
                 SWP_NOMOVE | SWP_NOZORDER);
    SetWindowTextA(FQuestionLabel, ("Why have you made up your mind to remove " + ProductName + "?").c_str());
    CenterQuestion();
    SetWindowTextA(FUninstallButton, "Uninstall");
}

void TSurveyForm::CreateReasonButtons() {
    for (int i = 0; i < ReasonCount; ++i) {
        const SIZE text = TextSize(Reasons[i], FFont.get());
        // The check circle and its gap come before the caption.
        const int width = text.cx + GetSystemMetrics(SM_CXMENUCHECK) + 8;
        const DWORD group = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
        FReasonButtons.push_back(CreateChild("BUTTON", Reasons[i], BS_AUTORADIOBUTTON | group, 0,
                                             FReasonGroup, 8, 12 + i * RowStep, width, 17, FFont.get()));
    }
    // The first button of a group starts checked; then the last one is clicked.
    SendMessageA(FReasonButtons.front(), BM_SETCHECK, BST_CHECKED, 0);
    SelectReason(ReasonCount - 1);
}

void TSurveyForm::SelectReason(int index) {
    for (int i = 0; i < static_cast<int>(FReasonButtons.size()); ++i)
        SendMessageA(FReasonButtons[i], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TSurveyForm::CenterQuestion() {
    const SIZE size = TextSize(WindowText(FQuestionLabel), FBoldFont.get());
    RECT client;
    GetClientRect(Form(), &client);
    const int left = client.right / 2 - size.cx / 2;
    SetWindowPos(FQuestionLabel, nullptr, left, 36, size.cx, size.cy, SWP_NOZORDER);
}

void TSurveyForm::Show(int showCommand) {
    ShowWindow(Form(), showCommand);
    UpdateWindow(Form());
}

void TSurveyForm::PumpMessage(MSG& message) {
    if (Form() && IsDialogMessageA(Form(), &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int TSurveyForm::Run() {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        PumpMessage(message);
    return static_cast<int>(message.wParam);
}

bool TSurveyForm::ProcessMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        PumpMessage(message);
    }
    return true;
}

void TSurveyForm::CloseRequest() {
    if (FReporting)
        return;
    FReporting = true;
    SendReport(*this);
    FReporting = false;
    FForm.reset();
}

void TSurveyForm::WatchWait(DWORD start, DWORD limitMs) {
    FWaitStart = start;
    FWaitLimit = limitMs;
    if (limitMs > 0)
        SetTimer(Form(), WaitTimerId, WaitTimerMs, nullptr);
    else
        KillTimer(Form(), WaitTimerId);
}

void TSurveyForm::WaitTimer() {
    // Menu loops dispatch timers too: this runs even when one holds the thread.
    if (!Busy || GetTickCount() - FWaitStart >= FWaitLimit)
        EndMenu();
}

bool TSurveyForm::BlocksDuringWait(UINT message, WPARAM wParam) const {
    if (!FReporting)
        return false;
    if (message == WM_CONTEXTMENU)
        return true;
    // Moving, sizing and the menus run modal loops of their own.
    const WPARAM command = wParam & 0xFFF0;
    return message == WM_SYSCOMMAND &&
           (command == SC_MOVE || command == SC_SIZE || command == SC_KEYMENU || command == SC_MOUSEMENU);
}

LRESULT CALLBACK TSurveyForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TSurveyForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->FForm.reset(window);
    }
    auto* form = reinterpret_cast<TSurveyForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (form)
        return form->HandleMessage(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TSurveyForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (BlocksDuringWait(message, wParam))
        return 0;
    switch (message) {
    case WM_TIMER:
        if (wParam == WaitTimerId) {
            WaitTimer();
            return 0;
        }
        break;
    case WM_CLOSE:
        CloseRequest();
        return 0;
    case WM_DESTROY:
        // The survey window is the program's main window.
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if (FForm.get() == window)
            FForm.release();
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == UninstallButtonId && HIWORD(wParam) == BN_CLICKED)
            PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(UninstallButtonId, DC_HASDEFID);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            SetFocus(FOtherText);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        SetFocus(FOtherText);
        return 0;
    case WM_DRAWITEM:
        if (wParam == UninstallButtonId) {
            DrawUninstallButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace uninstall
