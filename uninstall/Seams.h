// The survey program's two effects that tests must not trigger for real: opening a URL through the
// shell (the mail fallback) and the socket layer's diagnostic message boxes. Tests replace them.
#pragma once

#include <functional>
#include <string>

namespace uninstall {

using TShellOpenSeam = std::function<void(const std::string& url)>;
using TMessageBoxSeam = std::function<void(const std::string& caption, const std::string& text)>;

// The shell's default action on a URL; the result is not checked.
void ShellOpen(const std::string& url);
// A message box with no owner window and an OK button.
void ShowMessageBox(const std::string& caption, const std::string& text);

// Replace a seam; an empty function restores the platform's behaviour. Each returns the previous one.
TShellOpenSeam ReplaceShellOpen(TShellOpenSeam seam);
TMessageBoxSeam ReplaceMessageBox(TMessageBoxSeam seam);

} // namespace uninstall
