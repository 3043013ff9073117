// A folder mapped as a CD-ROM drive of the Wine prefix for as long as the object lives, through
// the mount manager's own request for drives (what Wine's drive configuration uses). The letter
// and its type take effect at once, without restarting the Wine server.
#pragma once

#include "common/TextConversion.h"
#include "common/Win32Handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class WineCdDrive {
public:
    WineCdDrive(char Letter, const std::string& Folder) : letter_(Letter) {
        Define(""); // a leftover of an interrupted run
        std::string unixPath = UnixPath(Folder);
        EXPECT_FALSE(unixPath.empty()) << Folder;
        mapped_ = !unixPath.empty() && Define(unixPath);
        EXPECT_TRUE(mapped_) << "mapping " << Letter << ": to " << unixPath;
    }
    WineCdDrive(const WineCdDrive&) = delete;
    WineCdDrive& operator=(const WineCdDrive&) = delete;
    ~WineCdDrive() {
        if (mapped_)
            Define("");
    }

    bool Mapped() const { return mapped_; }

private:
    // The request's header as the mount manager reads it; the mount point follows it.
#pragma pack(push, 8)
    struct UnixDrive {
        ULONG size;
        ULONG type;
        ULONG fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset;
        USHORT deviceOffset;
        USHORT labelOffset;
    };
#pragma pack(pop)

    static constexpr DWORD kDefineUnixDrive =
        CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

    // Maps the letter to the unix folder as a CD-ROM drive; an empty folder removes the letter.
    bool Define(const std::string& UnixFolder) {
        std::vector<char> request(sizeof(UnixDrive) + UnixFolder.size() + 1, '\0');
        UnixDrive header{};
        header.size = static_cast<ULONG>(request.size());
        header.type = UnixFolder.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_CDROM;
        header.letter = static_cast<WCHAR>(letter_);
        header.mountPointOffset = UnixFolder.empty() ? 0 : static_cast<USHORT>(sizeof(UnixDrive));
        std::copy(reinterpret_cast<const char*>(&header), reinterpret_cast<const char*>(&header + 1),
                  request.begin());
        std::copy(UnixFolder.begin(), UnixFolder.end(), request.begin() + sizeof(UnixDrive));
        vireon::UniqueFile manager(CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                               nullptr));
        if (!manager)
            return false;
        DWORD returned = 0;
        return DeviceIoControl(manager.get(), kDefineUnixDrive, request.data(),
                               static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr) != FALSE;
    }

    // The host's path of a folder, from Wine's own conversion.
    static std::string UnixPath(const std::string& Folder) {
        using Convert = char*(CDECL*)(LPCWSTR);
        auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        if (!convert)
            return {};
        char* path = convert(vireon::WideFromAnsi(Folder).c_str());
        if (!path)
            return {};
        std::string result = path;
        HeapFree(GetProcessHeap(), 0, path);
        return result;
    }

    char letter_;
    bool mapped_ = false;
};
