// Opening documents and links through the shell, with the platform's error text shown on failure.
#pragma once

#include "common/Seam.h"

#include <windows.h>

#include <functional>
#include <string>

namespace vireon {

// Opens File with the shell's default verb on behalf of the application's window and answers the
// shell's result code (above 32 on success). A failure is shown as an error message with OK.
INT_PTR ShellOpen(const std::string& File, const std::string& Parameters, const std::string& Directory,
                  int ShowCommand);

// The text shown for a failed launch: the system's message for LastError, or, when the shell left
// no error code behind, for the code its Result stands for.
std::string ShellErrorText(INT_PTR Result, DWORD LastError);

// The shell launch itself, ShellExecuteA's contract; tests replace it so that nothing is launched.
using TShellExecuteSeam = TSeam<HINSTANCE(HWND Window, const char* Verb, const char* File,
                                           const char* Parameters, const char* Directory, int ShowCommand)>;
TShellExecuteSeam& ShellExecuteSeam();

} // namespace vireon
