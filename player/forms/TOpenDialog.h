// The common open dialog. The filter is written "name|pattern|name|pattern"; with multiple
// selection the chosen files come back in the order the dialog lists them.
#pragma once

#include "common/Seam.h"
#include "forms/TComponent.h"

#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

namespace vireon {

enum TOpenOption : unsigned {
    ofAllowMultiSelect = 1,
    ofHideReadOnly = 2,
    ofEnableSizing = 4,
    ofFileMustExist = 8,
    ofPathMustExist = 16,
    ofNoChangeDir = 32,
};
using TOpenOptions = unsigned;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    const std::vector<std::string>& Files() const { return FFiles; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

    // Shows the dialog over Owner (the active window when null). True when the user chose files:
    // FileName is the first of them and Files lists them all, each a path the ANSI file calls open
    // (the short form of a name the code page cannot hold).
    bool Execute(HWND Owner = nullptr);

private:
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FFileName;
    std::vector<std::string> FFiles;
    std::string FInitialDir;
    std::string FTitle;
    std::string FDefaultExt;
    TOpenOptions FOptions = ofHideReadOnly | ofEnableSizing;
};

// The platform's dialog call (the wide one, so that any name comes back whole), replaceable so that
// tests never block on a real dialog. The replacement fills the structure's file buffer as the
// platform would.
using TOpenDialogSeam = TSeam<BOOL(OPENFILENAMEW& Dialog)>;
TOpenDialogSeam& OpenDialogSeam();

// "name|pattern|..." as the platform wants it: parts separated by NULs, ended by two NULs.
std::string MakeDialogFilter(const std::string& Filter);
// The files in a dialog's answer buffer: one full path, or a folder followed by names.
std::vector<std::wstring> ParseDialogFiles(const wchar_t* Buffer);

} // namespace vireon
