// The name of the Windows version the survey reports.
#pragma once

#include <cstdint>
#include <string>

namespace uninstall {

// The version facts read once per report.
struct TVersionFacts {
    uint32_t PlatformId = 0;
    uint32_t Major = 0;
    uint32_t Minor = 0;
    uint32_t Build = 0;
    std::string ServicePack;
    // Major in the high 16 bits, minor in the low 16; 0 when not read.
    uint32_t KernelProductVersion = 0;
};

// The version table: an index from 0 ("Unknown") to 11 ("Windows XP"), from the facts alone.
int SelectWindowsVersion(const TVersionFacts& facts);
// The name of an index; "Unknown" for an index outside the table.
std::string WindowsVersionName(int index);

// Reads the facts from the system: the version query, and the kernel's product version when the
// platform is not NT.
TVersionFacts ReadVersionFacts();
int GetWindowsVersion();
std::string GetWindowsVersionName();

} // namespace uninstall
