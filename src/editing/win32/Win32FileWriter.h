#pragma once
#include <windows.h>

#include "editing/FileWriter.h"

namespace quillet::win32 {

// One file at a time through kernel32; the reason of a failure is the
// system's message for its error code.
class Win32FileWriter : public FileWriter {
public:
    Win32FileWriter() = default;
    Win32FileWriter(const Win32FileWriter&) = delete;
    Win32FileWriter& operator=(const Win32FileWriter&) = delete;
    ~Win32FileWriter() override { Close(); }

    bool MakeDirectory(const std::string& path) override;
    bool Create(const std::string& path) override;
    bool Append(const std::string& path, unsigned long long& size) override;
    bool Write(const std::string& bytes) override;
    bool Close() override;
    bool Remove(const std::string& path) override;
    std::string LastError() const override { return error_; }

private:
    bool Fail(DWORD code);

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string error_;
};

}  // namespace quillet::win32
