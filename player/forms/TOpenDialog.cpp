#include "forms/TOpenDialog.h"

#include "forms/TApplication.h"

#include "common/LateBound.h"

#include <cstring>

namespace vireon {
namespace {

// Large enough for a few hundred chosen files.
constexpr DWORD kBufferSize = 0x10000;

} // namespace

TOpenDialogSeam& OpenDialogSeam() {
    static TOpenDialogSeam seam;
    return seam;
}

std::string MakeDialogFilter(const std::string& Filter) {
    if (Filter.empty())
        return {};
    std::string result = Filter;
    for (char& c : result)
        if (c == '|')
            c = '\0';
    // A filter with an odd number of parts gets its last name used as the pattern as well.
    size_t parts = 1;
    for (char c : Filter)
        parts += c == '|';
    if (parts % 2 == 1)
        result += '\0' + Filter.substr(Filter.rfind('|') + 1);
    result += '\0';
    result += '\0';
    return result;
}

std::vector<std::string> ParseDialogFiles(const char* Buffer) {
    std::vector<std::string> parts;
    for (const char* part = Buffer; *part; part += std::strlen(part) + 1)
        parts.emplace_back(part);
    if (parts.size() <= 1)
        return parts;
    std::string folder = parts.front();
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i)
        files.push_back(folder + parts[i]);
    return files;
}

bool TOpenDialog::Execute(HWND Owner) {
    std::string filter = MakeDialogFilter(FFilter);
    std::vector<char> buffer(kBufferSize, '\0');
    FFileName.copy(buffer.data(), kBufferSize - 2);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Owner ? Owner : GetActiveWindow();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(FFilterIndex);
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kBufferSize;
    dialog.lpstrInitialDir = FInitialDir.empty() ? nullptr : FInitialDir.c_str();
    dialog.lpstrTitle = FTitle.empty() ? nullptr : FTitle.c_str();
    dialog.lpstrDefExt = FDefaultExt.empty() ? nullptr : FDefaultExt.c_str();
    dialog.Flags = OFN_EXPLORER;
    if (FOptions & ofAllowMultiSelect)
        dialog.Flags |= OFN_ALLOWMULTISELECT;
    if (FOptions & ofHideReadOnly)
        dialog.Flags |= OFN_HIDEREADONLY;
    if (FOptions & ofEnableSizing)
        dialog.Flags |= OFN_ENABLESIZING;
    if (FOptions & ofFileMustExist)
        dialog.Flags |= OFN_FILEMUSTEXIST;
    if (FOptions & ofPathMustExist)
        dialog.Flags |= OFN_PATHMUSTEXIST;
    if (FOptions & ofNoChangeDir)
        dialog.Flags |= OFN_NOCHANGEDIR;
    Application().NormalizeTopMosts();
    BOOL chosen = CallSeam(
        OpenDialogSeam(),
        [](OPENFILENAMEA& Dialog) {
            static const TLateBound<decltype(GetOpenFileNameA)> openDialog("comdlg32.dll",
                                                                           "GetOpenFileNameA");
            return openDialog ? openDialog(&Dialog) : FALSE;
        },
        dialog);
    Application().RestoreTopMosts();
    if (!chosen)
        return false;
    // Whatever the dialog wrote, the buffer stays terminated.
    buffer[kBufferSize - 2] = '\0';
    buffer[kBufferSize - 1] = '\0';
    FFiles = ParseDialogFiles(buffer.data());
    FFileName = FFiles.empty() ? std::string() : FFiles.front();
    FFilterIndex = static_cast<int>(dialog.nFilterIndex);
    return !FFiles.empty();
}

} // namespace vireon
