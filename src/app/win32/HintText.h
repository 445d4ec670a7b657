// The hints of commands and controls, from the string table.
#pragma once
#include <windows.h>

#include <string>

#include "common/win32/Wide.h"

namespace quillet::win32 {

// The hint of a command or control; empty when it has none.
inline std::string HintText(int id)
{
    wchar_t text[512];
    const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), text, 512);
    return Utf8(text, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace quillet::win32
