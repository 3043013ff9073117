#include "forms/MessageBoxSeam.h"

namespace vireon {

TMessageBoxSeam& MessageBoxSeam() {
    static TMessageBoxSeam seam;
    return seam;
}

int ShowMessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags) {
    return CallSeam(
        MessageBoxSeam(),
        [](HWND Window, const std::string& Body, const std::string& Title, UINT Style) {
            return MessageBoxA(Window, Body.c_str(), Title.c_str(), Style);
        },
        Owner, Text, Caption, Flags);
}

} // namespace vireon
