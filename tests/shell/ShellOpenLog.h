// What the shell was asked to open while a test runs, as "file|parameters|show command"; nothing is
// launched.
#pragma once

#include "util/ShellOpen.h"

#include <string>
#include <vector>

namespace shelltest {

class TShellOpenLog {
public:
    std::vector<std::string> Opened;

private:
    vireon::TScopedSeam<vireon::TShellExecuteSeam> FSeam{
        vireon::ShellExecuteSeam(),
        [this](HWND, const char*, const char* File, const char* Parameters, const char*, int Show) {
            Opened.push_back(std::string(File) + "|" + (Parameters ? Parameters : "") + "|" +
                             std::to_string(Show));
            return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
        }};
};

} // namespace shelltest
