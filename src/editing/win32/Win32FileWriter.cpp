#include "editing/win32/Win32FileWriter.h"

#include <algorithm>

#include "common/win32/Wide.h"

namespace quillet::win32 {

bool Win32FileWriter::Fail(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    error_ = length ? Utf8(text, length) : "System error " + std::to_string(code);
    if (text) LocalFree(text);
    // The message goes into a sentence of ours: no line break, no full stop.
    while (!error_.empty() && (error_.back() == '\r' || error_.back() == '\n' || error_.back() == ' ' ||
                               error_.back() == '.'))
        error_.pop_back();
    return false;
}

bool Win32FileWriter::MakeDirectory(const std::string& path)
{
    return CreateDirectoryW(Wide(path).c_str(), nullptr) || Fail(GetLastError());
}

bool Win32FileWriter::Create(const std::string& path)
{
    Close();
    file_ = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ != INVALID_HANDLE_VALUE || Fail(GetLastError());
}

bool Win32FileWriter::Append(const std::string& path, unsigned long long& size)
{
    Close();
    file_ = CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return Fail(GetLastError());
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file_, &length)) {
        const DWORD code = GetLastError();
        Close();
        return Fail(code);
    }
    size = static_cast<unsigned long long>(length.QuadPart);
    return true;
}

bool Win32FileWriter::Write(const std::string& bytes)
{
    if (file_ == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(file_, bytes.data() + done, size, &written, nullptr)) return Fail(GetLastError());
        if (written == 0) return Fail(ERROR_DISK_FULL);
        done += written;
    }
    return true;
}

bool Win32FileWriter::Close()
{
    if (file_ == INVALID_HANDLE_VALUE) return true;
    const BOOL closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return closed || Fail(GetLastError());
}

bool Win32FileWriter::Remove(const std::string& path) { return DeleteFileW(Wide(path).c_str()) || Fail(GetLastError()); }

}  // namespace quillet::win32
