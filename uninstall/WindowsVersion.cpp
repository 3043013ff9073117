#include "uninstall/WindowsVersion.h"

#include "uninstall/UStr.h"

#include <winsock2.h>
#include <windows.h>

#include <vector>

namespace uninstall {

namespace {

constexpr uint32_t PlatformWindows = 1;
constexpr uint32_t PlatformNT = 2;

int SelectWindows9x(const TVersionFacts& facts) {
    const std::string servicePack = TrimText(facts.ServicePack);
    if (facts.Minor <= 9)
        return servicePack == "B" ? 2 : 1;
    if (facts.Minor <= 89) {
        if (facts.KernelProductVersion == 0x0004005A)
            return 5;
        return servicePack == "A" ? 4 : 3;
    }
    return facts.Minor == 90 ? 5 : 0;
}

int SelectWindowsNT(const TVersionFacts& facts) {
    switch (facts.Major) {
    case 3:
        switch (facts.Minor) {
        case 1:
            return 6;
        case 5:
            return 7;
        case 51:
            return 8;
        default:
            return 0;
        }
    case 4:
        return 9;
    case 5:
        switch (facts.Minor) {
        case 0:
            return 10;
        case 1:
            return 11;
        default:
            return 0;
        }
    default:
        return 0;
    }
}

uint32_t ReadKernelProductVersion() {
    char fileName[262] = {};
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel || GetModuleFileNameA(kernel, fileName, 261) == 0)
        return 0;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName, &ignored);
    if (size == 0)
        return 0;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(fileName, 0, size, block.data()))
        return 0;
    void* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", &fixed, &length) || length != sizeof(VS_FIXEDFILEINFO))
        return 0;
    return static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwProductVersionMS;
}

} // namespace

int SelectWindowsVersion(const TVersionFacts& facts) {
    if (facts.PlatformId == PlatformWindows)
        return SelectWindows9x(facts);
    if (facts.PlatformId == PlatformNT)
        return SelectWindowsNT(facts);
    return 0;
}

std::string WindowsVersionName(int index) {
    static const char* const names[] = {"Unknown",       "Windows 95",  "Windows 95 OSR 2", "Windows 98",
                                        "Windows 98SE",  "Windows ME",  "Windows NT31",     "Windows NT35",
                                        "Windows NT351", "Windows NT4", "Windows 2000",     "Windows XP"};
    if (index < 0 || index >= static_cast<int>(std::size(names)))
        return names[0];
    return names[index];
}

TVersionFacts ReadVersionFacts() {
    TVersionFacts facts;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info))
        return facts;
    facts.PlatformId = info.dwPlatformId;
    facts.Major = info.dwMajorVersion;
    facts.Minor = info.dwMinorVersion;
    facts.Build = info.dwBuildNumber;
    facts.ServicePack.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
    if (facts.PlatformId != PlatformNT)
        facts.KernelProductVersion = ReadKernelProductVersion();
    return facts;
}

int GetWindowsVersion() {
    return SelectWindowsVersion(ReadVersionFacts());
}

std::string GetWindowsVersionName() {
    return WindowsVersionName(GetWindowsVersion());
}

} // namespace uninstall
