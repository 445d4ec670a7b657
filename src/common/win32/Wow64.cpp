#include "common/win32/Wow64.h"

namespace quillet::win32 {

bool RunsOnWindows64()
{
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

}  // namespace quillet::win32
