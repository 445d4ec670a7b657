#pragma once
#include <string>

namespace quillet::win32 {

// Runs the command line's command, if it names one, before any window and
// the single-instance rule; false when it names none and the window starts.
// `startDir` is the folder the program was started in, for relative names.
bool RunCommandLine(const std::wstring& startDir, int& exitCode);

}  // namespace quillet::win32
