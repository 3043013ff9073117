#include "shell/ShellWindows.h"

namespace vireon {

TShellWindows& ShellWindows() {
    static TShellWindows windows;
    return windows;
}

} // namespace vireon
