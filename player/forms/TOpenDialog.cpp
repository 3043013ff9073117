#include "forms/TOpenDialog.h"

#include "common/TextConversion.h"
#include "forms/TApplication.h"

#include "common/LateBound.h"

#include <cwchar>

namespace vireon {
namespace {

// Large enough for a few hundred chosen files.
constexpr DWORD kBufferSize = 0x10000;

DWORD DialogFlags(TOpenOptions Options) {
    DWORD flags = OFN_EXPLORER;
    if (Options & ofAllowMultiSelect)
        flags |= OFN_ALLOWMULTISELECT;
    if (Options & ofHideReadOnly)
        flags |= OFN_HIDEREADONLY;
    if (Options & ofEnableSizing)
        flags |= OFN_ENABLESIZING;
    if (Options & ofFileMustExist)
        flags |= OFN_FILEMUSTEXIST;
    if (Options & ofPathMustExist)
        flags |= OFN_PATHMUSTEXIST;
    if (Options & ofNoChangeDir)
        flags |= OFN_NOCHANGEDIR;
    return flags;
}

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

std::vector<std::wstring> ParseDialogFiles(const wchar_t* Buffer) {
    std::vector<std::wstring> parts;
    for (const wchar_t* part = Buffer; *part; part += std::wcslen(part) + 1)
        parts.emplace_back(part);
    if (parts.size() <= 1)
        return parts;
    std::wstring folder = parts.front();
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> files;
    for (size_t i = 1; i < parts.size(); ++i)
        files.push_back(folder + parts[i]);
    return files;
}

bool TOpenDialog::Execute(HWND Owner) {
    // The texts stay alive while the dialog runs; the filter keeps its NULs through the conversion.
    const std::wstring filter = WideFromAnsi(MakeDialogFilter(FFilter));
    const std::wstring initialDir = WideFromAnsi(FInitialDir);
    const std::wstring title = WideFromAnsi(FTitle);
    const std::wstring defaultExt = WideFromAnsi(FDefaultExt);
    std::vector<wchar_t> buffer(kBufferSize, L'\0');
    WideFromAnsi(FFileName).copy(buffer.data(), kBufferSize - 2);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Owner ? Owner : GetActiveWindow();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(FFilterIndex);
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kBufferSize;
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    dialog.Flags = DialogFlags(FOptions);
    Application().NormalizeTopMosts();
    BOOL chosen = CallSeam(
        OpenDialogSeam(),
        [](OPENFILENAMEW& Dialog) {
            static const TLateBound<decltype(GetOpenFileNameW)> openDialog("comdlg32.dll",
                                                                           "GetOpenFileNameW");
            return openDialog ? openDialog(&Dialog) : FALSE;
        },
        dialog);
    Application().RestoreTopMosts();
    if (!chosen)
        return false;
    // Whatever the dialog wrote, the buffer stays terminated.
    buffer[kBufferSize - 2] = L'\0';
    buffer[kBufferSize - 1] = L'\0';
    FFiles.clear();
    for (const std::wstring& file : ParseDialogFiles(buffer.data()))
        FFiles.push_back(AnsiPathFromWide(file));
    FFileName = FFiles.empty() ? std::string() : FFiles.front();
    FFilterIndex = static_cast<int>(dialog.nFilterIndex);
    return !FFiles.empty();
}

} // namespace vireon
