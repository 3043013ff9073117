#include "util/TFolderDialog.h"

#include "common/TextConversion.h"
#include "common/Win32Handles.h"
#include "forms/TApplication.h"

namespace vireon {

TBrowseForFolderSeam& BrowseForFolderSeam() {
    static TBrowseForFolderSeam seam;
    return seam;
}

int CALLBACK TFolderDialog::BrowseCallback(HWND Window, UINT Msg, LPARAM, LPARAM Data) {
    if (Msg != BFFM_INITIALIZED)
        return 0;
    const auto* self = reinterpret_cast<const TFolderDialog*>(Data);
    if (!self->FDialogTitle.empty())
        SetWindowTextA(Window, self->FDialogTitle.c_str());
    if (!self->FStatusText.empty())
        SendMessageA(Window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(self->FStatusText.c_str()));
    if (!self->FFolder.empty()) {
        const auto folder = reinterpret_cast<LPARAM>(self->FFolder.c_str());
        SendMessageA(Window, BFFM_SETSELECTIONA, TRUE, folder);
        // Some browsers fill their tree only after this notification and lose the first request; the
        // posted one arrives once the tree stands. Folder outlives the browser window.
        PostMessageA(Window, BFFM_SETSELECTIONA, TRUE, folder);
    }
    return 0;
}

bool TFolderDialog::Execute() {
    // The browser's tree is made of shell objects, which need COM on this thread.
    ComInitialization com;
    wchar_t displayName[MAX_PATH] = {};
    const std::wstring prompt = WideFromAnsi(FPrompt);
    BROWSEINFOW info = {};
    info.hwndOwner = GetActiveWindow();
    info.pidlRoot = nullptr; // the desktop: the whole namespace for both root choices
    info.pszDisplayName = displayName;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = FOptions;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    Application().NormalizeTopMosts();
    UniqueCoTaskMem chosen(CallSeam(
        BrowseForFolderSeam(), [](BROWSEINFOW& Info) { return SHBrowseForFolderW(&Info); }, info));
    Application().RestoreTopMosts();
    if (!chosen)
        return false;
    wchar_t path[MAX_PATH] = {};
    const bool inFileSystem = SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path);
    FFolder = inFileSystem ? AnsiPathFromWide(path) : "";
    return true;
}

} // namespace vireon
