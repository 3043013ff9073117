// The machine's optical drives: the "Play disk" menu's entries, and ejecting a drive's medium.
#pragma once

#include "common/Seam.h"
#include "forms/Events.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vireon {

class TMenuItem;

struct TDriveInfo {
    // Upper-case drive letter followed by ":\".
    std::string Root;
    // The shell's name of the drive (volume label and letter, or the drive's kind).
    std::string DisplayName;
    // The drive's small icon in the system image list.
    int ImageIndex = -1;
};

// Device request codes of the eject, by platform family.
inline constexpr DWORD kVwin32DosIoctl = 1;
inline constexpr DWORD kIoctlDiskEjectMedia = (7u << 16) | (1u << 14) | (0x202u << 2) | 0u;
static_assert(kIoctlDiskEjectMedia == 0x74808);

// The register block of a DOS-IOCTL request to the 95/98 family's vwin32 device, in the order
// the device reads it.
struct TDosRegisters {
    DWORD EBX = 0;
    DWORD EDX = 0;
    DWORD ECX = 0;
    DWORD EAX = 0;
    DWORD EDI = 0;
    DWORD ESI = 0;
    DWORD Flags = 0;
};
static_assert(sizeof(TDosRegisters) == 28);

class TDriveList {
public:
    TDriveList() = default;
    TDriveList(const TDriveList&) = delete;
    TDriveList& operator=(const TDriveList&) = delete;

    // Appends the optical drives, in drive-letter order.
    void Refresh();
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    const TDriveInfo& Items(int Index) const { return FItems.at(Index); }

    // Rebuilds Item's sub-items: one per drive (tag: the drive letter's character code), or the
    // disabled "No drives"; Item is enabled exactly when it lists a drive.
    void FillMenu(TMenuItem* Item, const TNotifyEvent& OnClick) const;

    // Ejects the medium of the drive with that letter, by the platform family this runs on.
    static bool Eject(char Letter);
    // The same for a given platform id (1: the 95/98 family, 2: the NT family).
    static bool EjectOnPlatform(char Letter, DWORD PlatformId);

private:
    std::vector<TDriveInfo> FItems;
};

// One request to a device: open Device for reading (shared read and write, existing), send Code
// with Buffer as input and output (none when Size is 0), close it. True when the device opened
// and the request succeeded. Tests replace it so that nothing is ejected.
using TDeviceRequestSeam = TSeam<bool(const std::string& Device, DWORD Code, void* Buffer, DWORD Size)>;
TDeviceRequestSeam& DeviceRequestSeam();

// What the platform reports about drives: the logical-drive mask and the type of a root ("a:\").
// Tests replace them to stand in for drives the machine lacks.
using TLogicalDrivesSeam = TSeam<DWORD()>;
TLogicalDrivesSeam& LogicalDrivesSeam();
using TDriveTypeSeam = TSeam<UINT(const std::string& Root)>;
TDriveTypeSeam& DriveTypeSeam();
DWORD QueryLogicalDrives();
UINT QueryDriveType(const std::string& Root);
// The roots of the optical drives, "a:\" to "z:\" (lower case, as the platform is asked), in order.
std::vector<std::string> OpticalDriveRoots();

} // namespace vireon
