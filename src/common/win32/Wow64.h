// What a 32-bit Quillet on 64-bit Windows must do to see the system as it is.
#pragma once
#include <windows.h>

namespace quillet::win32 {

// The system is 64-bit Windows, where the registry has a 64-bit and a
// 32-bit view: always for the 64-bit build, asked of the system by the
// 32-bit one.
bool RunsOnWindows64();

// For the calling thread and the life of the object: file names mean the
// files as they are, so C:\Windows\System32 is not answered from SysWOW64,
// for checks and for starts alike. Nothing to do for a 64-bit program.
class WholeFileSystem {
public:
#ifdef _WIN64
    WholeFileSystem() {}
    ~WholeFileSystem() {}
#else
    WholeFileSystem()
    {
        static const bool wow64 = RunsOnWindows64();
        if (wow64) disabled_ = Wow64DisableWow64FsRedirection(&old_);
    }
    ~WholeFileSystem()
    {
        if (disabled_) Wow64RevertWow64FsRedirection(old_);
    }
    WholeFileSystem(const WholeFileSystem&) = delete;
    WholeFileSystem& operator=(const WholeFileSystem&) = delete;

private:
    PVOID old_ = nullptr;
    BOOL disabled_ = FALSE;
#endif
};

}  // namespace quillet::win32
