#include "playback/TDriveList.h"

#include "common/Win32Handles.h"
#include "forms/TMenuItem.h"
#include "util/xMenu.h"
#include "util/xUtils.h"

#include <shellapi.h>

namespace vireon {

TDeviceRequestSeam& DeviceRequestSeam() {
    static TDeviceRequestSeam seam;
    return seam;
}

TLogicalDrivesSeam& LogicalDrivesSeam() {
    static TLogicalDrivesSeam seam;
    return seam;
}

TDriveTypeSeam& DriveTypeSeam() {
    static TDriveTypeSeam seam;
    return seam;
}

DWORD QueryLogicalDrives() {
    return CallSeam(LogicalDrivesSeam(), [] { return ::GetLogicalDrives(); });
}

UINT QueryDriveType(const std::string& Root) {
    return CallSeam(
        DriveTypeSeam(), [](const std::string& Path) { return ::GetDriveTypeA(Path.c_str()); }, Root);
}

namespace {

bool PlatformDeviceRequest(const std::string& Device, DWORD Code, void* Buffer, DWORD Size) {
    UniqueFile device(CreateFileA(Device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!device)
        return false;
    DWORD returned = 0;
    return DeviceIoControl(device.get(), Code, Buffer, Size, Buffer, Size, &returned, nullptr) != FALSE;
}

bool DeviceRequest(const std::string& Device, DWORD Code, void* Buffer, DWORD Size) {
    return CallSeam(DeviceRequestSeam(), PlatformDeviceRequest, Device, Code, Buffer, Size);
}

DWORD RunningPlatformId() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version))
        return 0;
#pragma GCC diagnostic pop
    return version.dwPlatformId;
}

} // namespace

std::vector<std::string> OpticalDriveRoots() {
    std::vector<std::string> roots;
    const DWORD mask = QueryLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        std::string root = std::string(1, static_cast<char>('a' + i)) + ":\\";
        if ((mask & (1u << i)) && QueryDriveType(root) == DRIVE_CDROM)
            roots.push_back(std::move(root));
    }
    return roots;
}

void TDriveList::Refresh() {
    for (const std::string& root : OpticalDriveRoots()) {
        TDriveInfo info;
        info.Root = AsciiUpper(root[0]) + std::string(":\\");
        SHFILEINFOA shell{};
        if (SHGetFileInfoA(info.Root.c_str(), 0, &shell, sizeof shell,
                           SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON)) {
            info.DisplayName = shell.szDisplayName;
            info.ImageIndex = shell.iIcon;
        }
        if (info.DisplayName.empty())
            info.DisplayName = info.Root;
        FItems.push_back(std::move(info));
    }
}

void TDriveList::FillMenu(TMenuItem* Item, const TNotifyEvent& OnClick) const {
    if (!Item)
        return;
    ClearMenu(Item);
    for (const TDriveInfo& drive : FItems) {
        TMenuItem* entry = TMenuItem::Create(Item->Owner(), Item,
                                             {.Caption = drive.DisplayName,
                                              .Tag = static_cast<unsigned char>(drive.Root[0]),
                                              .OnClick = OnClick});
        entry->SetImageIndex(drive.ImageIndex);
    }
    Item->SetEnabled(!FItems.empty());
    if (FItems.empty())
        TMenuItem::Create(Item->Owner(), Item, {.Caption = "No drives", .Enabled = false});
}

bool TDriveList::Eject(char Letter) {
    return EjectOnPlatform(Letter, RunningPlatformId());
}

bool TDriveList::EjectOnPlatform(char Letter, DWORD PlatformId) {
    const char letter = AsciiUpper(Letter);
    if (letter < 'A' || letter > 'Z')
        return false;
    if (PlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        TDosRegisters registers;
        registers.EAX = 0x440D; // generic block-device request
        registers.EBX = static_cast<DWORD>(letter - 'A' + 1);
        registers.ECX = 0x0849; // category 8, eject medium
        registers.Flags = 0x8000;
        bool sent = DeviceRequest("\\\\.\\vwin32", kVwin32DosIoctl, &registers, sizeof registers);
        return sent && !(registers.Flags & 1);
    }
    if (PlatformId == VER_PLATFORM_WIN32_NT)
        return DeviceRequest(std::string("\\\\.\\") + letter + ":", kIoctlDiskEjectMedia, nullptr, 0);
    return false;
}

} // namespace vireon
