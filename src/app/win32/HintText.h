// The hints of commands and controls, from the string table.
#pragma once
#include <windows.h>

#include <string>

namespace quillet::win32 {

// The hint of a command or control; empty when it has none.
inline std::string HintText(int id)
{
    char text[512];
    const int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

}  // namespace quillet::win32
