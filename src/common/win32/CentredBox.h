#pragma once
#include <windows.h>

#include <string>

namespace quillet::win32 {

// A message box centred on the screen; for a question Escape answers No.
int ShowCentredBox(HWND owner, const std::string& text, const char* title, UINT type, bool question = false);

}  // namespace quillet::win32
