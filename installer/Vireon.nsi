; Vireon's setup: installs the player, its skins and the removal survey for every user of the machine,
; registers the product with the platform's list of installed programs, and writes the uninstaller.
;
; Defined by the build (installer/BuildSetup.cmake): VERSION, BIN_DIR (the built programs), ART_DIR
; (generated pictures and the generated list of skin files), ICON, LICENSE_FILE, OUT_FILE.
; Command line besides NSIS's own /S and /D=: /NODESKTOP leaves out the desktop shortcut.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "${ART_DIR}\SkinFiles.nsh"

!define PRODUCT "Vireon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vireon"
!define UNINSTALLER "Vireon-Uninstall.exe"
!define PLAYER_WINDOW_CLASS "TMainForm"
!define RUNNING_MESSAGE "Vireon is running; close it and retry"

; Exit codes of setup and uninstaller besides NSIS's own (0 done, 1 cancelled, 2 aborted).
!define EXIT_PLAYER_RUNNING 3
!define EXIT_NOT_WRITABLE 4
!define EXIT_NOT_INSTALLED 5
!define EXIT_NOT_ADMIN 6

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_BITMAP "${ART_DIR}\header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "${ART_DIR}\header.bmp"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${ART_DIR}\wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${ART_DIR}\wizard.bmp"
!define MUI_COMPONENTSPAGE_CHECKBITMAP "${ART_DIR}\checks.bmp"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\vireon.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Both programs ask the same question before touching files: is a player running? One started from
; this folder holds its program file open, which then cannot be opened for writing (so it could not
; be replaced or removed either); the window class also catches one started elsewhere.
!macro DefinePlayerCheck PREFIX
Function ${PREFIX}PlayerIsRunning
    Push $0
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    ${If} $0 P<> 0
        StrCpy $0 1
    ${ElseIf} ${FileExists} "$INSTDIR\vireon.exe"
        ClearErrors
        FileOpen $0 "$INSTDIR\vireon.exe" a
        ${If} ${Errors}
            StrCpy $0 1
        ${Else}
            FileClose $0
            StrCpy $0 0
        ${EndIf}
    ${Else}
        StrCpy $0 0
    ${EndIf}
    Exch $0
FunctionEnd

; Returns once no player runs; ends the program when the user gives up (always so when silent).
Function ${PREFIX}WaitForPlayerToClose
    Push $0
check:
    Call ${PREFIX}PlayerIsRunning
    Pop $0
    ${If} $0 == 1
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING_MESSAGE}" /SD IDCANCEL IDRETRY check
        SetErrorLevel ${EXIT_PLAYER_RUNNING}
        Quit
    ${EndIf}
    Pop $0
FunctionEnd
!macroend
!insertmacro DefinePlayerCheck ""
!insertmacro DefinePlayerCheck "un."

; Can setup write into $INSTDIR? Pushes 1 or 0; a folder made only to find out is removed again.
Function FolderIsWritable
    Push $0
    Push $1
    StrCpy $1 0
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $1 1
    ${EndIf}
    ClearErrors
    CreateDirectory "$INSTDIR"
    FileOpen $0 "$INSTDIR\~vireon-setup.tmp" w
    ${If} ${Errors}
        StrCpy $0 0
    ${Else}
        FileClose $0
        Delete "$INSTDIR\~vireon-setup.tmp"
        StrCpy $0 1
    ${EndIf}
    ${If} $1 == 1
        RMDir "$INSTDIR"
    ${EndIf}
    Pop $1
    Exch $0
FunctionEnd

!define NOT_WRITABLE_MESSAGE "${PRODUCT} cannot be installed in $\"$INSTDIR$\": the folder cannot be written to. Choose another folder."

; On the folder page the user simply picks another folder.
Function DirectoryLeave
    Call FolderIsWritable
    Pop $0
    ${If} $0 == 0
        MessageBox MB_OK|MB_ICONSTOP "${NOT_WRITABLE_MESSAGE}"
        Abort
    ${EndIf}
FunctionEnd

; A folder we cannot write to is reported before anything is copied, instead of a half installation
; (a silent install never saw the folder page).
Function CheckFolderWritable
    Call FolderIsWritable
    Pop $0
    ${If} $0 == 0
        MessageBox MB_OK|MB_ICONSTOP "${NOT_WRITABLE_MESSAGE}" /SD IDOK
        SetErrorLevel ${EXIT_NOT_WRITABLE}
        Quit
    ${EndIf}
FunctionEnd

; An earlier installation is removed by its own uninstaller (silently, in place), so files the new
; version no longer ships do not stay behind. User files are left alone by it.
Function RemovePreviousInstallation
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
    ${OrIfNot} ${FileExists} "$0\${UNINSTALLER}"
        Return
    ${EndIf}
    ClearErrors
    ExecWait '"$0\${UNINSTALLER}" /S _?=$0'
    Delete "$0\${UNINSTALLER}"
    RMDir "$0"
FunctionEnd

Section "${PRODUCT} (required)" SecProgram
    SectionIn RO
    SetShellVarContext all
    Call WaitForPlayerToClose
    Call CheckFolderWritable
    Call RemovePreviousInstallation

    SetOutPath "$INSTDIR"
    ClearErrors
    File "${BIN_DIR}\vireon.exe"
    File "${BIN_DIR}\Uninstall.exe"
    !insertmacro InstallSkinFiles
    SetOutPath "$INSTDIR"
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "Some files of ${PRODUCT} could not be written to $\"$INSTDIR$\"." /SD IDOK
        SetErrorLevel ${EXIT_NOT_WRITABLE}
        Quit
    ${EndIf}
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\vireon.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vireon.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Desktop shortcut" SecDesktop
    SetShellVarContext all
    CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\vireon.exe"
SectionEnd

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NODESKTOP" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecDesktop}
    ${EndIf}
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} for every user needs administrator rights." /SD IDOK
        SetErrorLevel ${EXIT_NOT_ADMIN}
        Quit
    ${EndIf}
FunctionEnd

; Is anything of ours in $INSTDIR, or does the platform still list us there?
Function un.IsInstalled
    Push $0
    StrCpy $0 1
    ${IfNot} ${FileExists} "$INSTDIR\vireon.exe"
    ${AndIfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
        ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $0 == "$INSTDIR"
            StrCpy $0 1
        ${Else}
            StrCpy $0 0
        ${EndIf}
    ${EndIf}
    Exch $0
FunctionEnd

Function un.onInit
    Call un.IsInstalled
    Pop $0
    ${If} $0 == 0
        MessageBox MB_OK|MB_ICONINFORMATION "${PRODUCT} is not installed in $\"$INSTDIR$\"; there is nothing to remove." /SD IDOK
        SetErrorLevel ${EXIT_NOT_INSTALLED}
        Quit
    ${EndIf}
FunctionEnd

; The survey asks why the product goes; a scripted removal must never wait on a window, and a
; missing or failing survey never stops the removal.
Function un.RunSurvey
    ${If} ${Silent}
        Return
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
        Return
    ${EndIf}
    ClearErrors
    ExecWait '"$INSTDIR\Uninstall.exe" ${PRODUCT}'
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Call un.WaitForPlayerToClose
    Call un.RunSurvey
    ; The player may have been started while the survey was up.
    Call un.WaitForPlayerToClose

    Delete "$INSTDIR\vireon.exe"
    Delete "$INSTDIR\Uninstall.exe"
    !insertmacro RemoveSkinFiles
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    Delete "$DESKTOP\${PRODUCT}.lnk"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
