#pragma once
#include <windows.h>

namespace quillet::win32 {

// Quillet runs elevated: before anything else loads, DLLs that system
// libraries ask for by bare name come only from the system directory, and
// the current directory becomes the system directory, so that nothing is
// ever picked up from the folder Quillet was started in.
void MakeProcessSafe();

// No system box for a drive without a medium while this lives (a removable
// drive named in a command, a floppy in a dialog); the previous mode comes
// back at the end. Not inherited by the uninstallers, which are started
// outside such a scope.
class QuietErrors {
public:
    QuietErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietErrors() { SetErrorMode(previous_); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    UINT previous_;
};

}  // namespace quillet::win32
