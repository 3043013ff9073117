// The folder picker: the platform's folder browser, titled and opened on the current folder.
#pragma once

#include "forms/TComponent.h"
#include "common/Seam.h"

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

namespace vireon {

// Where browsing starts; the whole shell namespace from the desktop down is the only one used.
enum TRootFolder { rfDesktop, rfDesktopExpanded };

class TFolderDialog : public TComponent {
public:
    explicit TFolderDialog(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    const std::string& DialogTitle() const { return FDialogTitle; }
    void SetDialogTitle(const std::string& Value) { FDialogTitle = Value; }
    // The text above the folder tree.
    const std::string& Prompt() const { return FPrompt; }
    void SetPrompt(const std::string& Value) { FPrompt = Value; }
    // The chosen folder: a drive root ends in a separator, other folders do not; empty for an item
    // that is no file-system folder. A name the ANSI code page cannot hold comes as its short form.
    const std::string& Folder() const { return FFolder; }
    void SetFolder(const std::string& Value) { FFolder = Value; }
    const std::string& StatusText() const { return FStatusText; }
    void SetStatusText(const std::string& Value) { FStatusText = Value; }
    // Browse flags (BIF_...) passed as they are.
    UINT Options() const { return FOptions; }
    void SetOptions(UINT Value) { FOptions = Value; }
    TRootFolder RootFolder() const { return FRootFolder; }
    void SetRootFolder(TRootFolder Value) { FRootFolder = Value; }
    bool ShowCustomButton() const { return FShowCustomButton; }

    // Shows the browser modally; true when a folder was chosen. Cancelling keeps Folder.
    bool Execute();

private:
    static int CALLBACK BrowseCallback(HWND Window, UINT Msg, LPARAM LParam, LPARAM Data);

    std::string FDialogTitle;
    std::string FPrompt;
    std::string FFolder;
    std::string FStatusText;
    UINT FOptions = 0;
    TRootFolder FRootFolder = rfDesktopExpanded;
    bool FShowCustomButton = false;
};

// The folder browser itself, SHBrowseForFolderW's contract (the wide one, so that any folder name
// comes back whole); tests replace it.
using TBrowseForFolderSeam = TSeam<PIDLIST_ABSOLUTE(BROWSEINFOW& Info)>;
TBrowseForFolderSeam& BrowseForFolderSeam();

} // namespace vireon
