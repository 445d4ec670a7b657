// Which Windows the tests run on, taken from the prefix and not from the
// program under test: Wine says it in WINEARCH (scripts/wine-run sets it),
// real Windows through its processor architecture.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace tested_windows {

inline bool Windows64()
{
    if (const char* arch = std::getenv("WINEARCH")) return std::strcmp(arch, "win64") == 0;
    SYSTEM_INFO info;
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture != PROCESSOR_ARCHITECTURE_INTEL;
}

}  // namespace tested_windows
