#include "common/win32/Win32Locale.h"

#include <windows.h>

namespace quillet::win32 {

bool Win32Locale::IsLeadByte(unsigned char byte) const { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace quillet::win32
