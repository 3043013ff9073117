#include "uninstall/Seams.h"

#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

#include <utility>

namespace uninstall {

namespace {
TShellOpenSeam& ShellOpenSeam() {
    static TShellOpenSeam seam;
    return seam;
}
TMessageBoxSeam& MessageBoxSeam() {
    static TMessageBoxSeam seam;
    return seam;
}
} // namespace

void ShellOpen(const std::string& url) {
    if (ShellOpenSeam()) {
        ShellOpenSeam()(url);
        return;
    }
    ShellExecuteA(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowMessageBox(const std::string& caption, const std::string& text) {
    if (MessageBoxSeam()) {
        MessageBoxSeam()(caption, text);
        return;
    }
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
}

TShellOpenSeam ReplaceShellOpen(TShellOpenSeam seam) {
    return std::exchange(ShellOpenSeam(), std::move(seam));
}

TMessageBoxSeam ReplaceMessageBox(TMessageBoxSeam seam) {
    return std::exchange(MessageBoxSeam(), std::move(seam));
}

} // namespace uninstall
