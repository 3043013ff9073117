#include "util/ShellOpen.h"

#include "common/Win32Handles.h"
#include "forms/TApplication.h"
#include "util/Msg.h"

#include <shellapi.h>

namespace vireon {

namespace {

const char* NullWhenEmpty(const std::string& Text) {
    return Text.empty() ? nullptr : Text.c_str();
}

// The shell's own result codes, as the system error they stand for.
DWORD ErrorOfShellResult(INT_PTR Result) {
    switch (Result) {
    case 0:
    case SE_ERR_OOM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_FNF:
    case SE_ERR_PNF:
    case SE_ERR_ACCESSDENIED:
    case ERROR_BAD_FORMAT:
        return static_cast<DWORD>(Result);
    case SE_ERR_SHARE:
        return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
        return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
        return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND:
        return ERROR_DLL_NOT_FOUND;
    default:
        return ERROR_GEN_FAILURE;
    }
}

} // namespace

TShellExecuteSeam& ShellExecuteSeam() {
    static TShellExecuteSeam seam;
    return seam;
}

std::string ShellErrorText(INT_PTR Result, DWORD LastError) {
    // A failed launch that left "no error" behind must not be reported as success.
    const DWORD error = LastError != ERROR_SUCCESS ? LastError : ErrorOfShellResult(Result);
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer), 0, nullptr);
    const UniqueLocalMemory owner(buffer);
    std::string text = length ? std::string(buffer, length) : std::string();
    if (text.size() > 255)
        text.resize(255);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Error " + std::to_string(error) + ".";
    return text;
}

INT_PTR ShellOpen(const std::string& File, const std::string& Parameters, const std::string& Directory,
                  int ShowCommand) {
    HWND window = Application().Handle();
    SetLastError(ERROR_SUCCESS);
    HINSTANCE instance = CallSeam(ShellExecuteSeam(), ShellExecuteA, window, nullptr, File.c_str(),
                                  NullWhenEmpty(Parameters), NullWhenEmpty(Directory), ShowCommand);
    const DWORD lastError = GetLastError();
    const auto result = reinterpret_cast<INT_PTR>(instance);
    if (result <= 32)
        ShowMessageEx(ShellErrorText(result, lastError), mtError, {mbOK});
    return result;
}

} // namespace vireon
