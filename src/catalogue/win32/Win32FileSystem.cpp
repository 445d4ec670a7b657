#include "catalogue/win32/Win32FileSystem.h"

#include <windows.h>

#include "catalogue/win32/Win32Registry.h"
#include "common/win32/SafeProcess.h"
#include "common/win32/Wide.h"
#include "common/win32/Wow64.h"

namespace quillet::win32 {

std::optional<std::string> Win32FileSystem::EnvironmentVariable(const std::string& name)
{
    const std::wstring wideName = Wide(name);
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (length < value.size()) return Utf8(value.data(), length);
        value.assign(length, L'\0');  // too small: length counts the terminator
    }
}

std::string Win32FileSystem::WindowsDirectory()
{
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    return length < MAX_PATH ? Utf8(buffer, length) : std::string();
}

std::string Win32FileSystem::SystemDirectory()
{
    wchar_t buffer[MAX_PATH];
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length < MAX_PATH ? Utf8(buffer, length) : std::string();
}

namespace {

// A ':' past the drive letter that is followed by a '\' can be neither a
// drive nor a stream name, so the platform would reject the name. Asking it
// anyway is slow under Wine, which searches the directories for it first.
bool CannotNameAFile(const std::string& name)
{
    const auto colon = name.find(':', 2);
    return colon != std::string::npos && name.find('\\', colon) != std::string::npos;
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& name)
{
    // Wildcards would find entries of other names.
    if (name.empty() || name.find_first_of("*?") != std::string::npos || CannotNameAFile(name)) return false;
    // One call answers all three questions (exists, not a directory, last
    // write time) without opening a search handle.
    WIN32_FILE_ATTRIBUTE_DATA data;
    {
        WholeFileSystem whole;
        QuietErrors quiet;  // A:\SETUP.EXE with the drive empty
        if (!GetFileAttributesExW(Wide(name).c_str(), GetFileExInfoStandard, &data)) return false;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    FILETIME local;
    WORD dosDate, dosTime;
    return FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &dosDate, &dosTime);
}

unsigned Win32FileSystem::DriveType(const std::string& root)
{
    QuietErrors quiet;
    return GetDriveTypeW(Wide(root).c_str());
}

bool Win32FileSystem::DirectoryExists(const std::string& name)
{
    if (name.empty()) return false;
    WholeFileSystem whole;
    QuietErrors quiet;
    const DWORD attributes = GetFileAttributesW(Wide(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileSystem::Presence Win32FileSystem::DirectoryPresence(const std::string& name)
{
    if (name.empty()) return Presence::Unknown;
    WholeFileSystem whole;
    QuietErrors quiet;
    const DWORD attributes = GetFileAttributesW(Wide(name).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Presence::Directory : Presence::Unknown;
    // Denied, a drive not ready, a name too long: none of them says missing.
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Presence::Missing : Presence::Unknown;
}

std::optional<std::vector<std::string>> Win32FileSystem::ListDirectory(const std::string& directory)
{
    if (directory.empty() || Wide(directory).size() + 2 >= MAX_PATH) return std::nullopt;
    WIN32_FIND_DATAW data;
    WholeFileSystem whole;
    QuietErrors quiet;
    const HANDLE find = FindFirstFileW(Wide(directory + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<std::string> names;
    do {
        names.push_back(Utf8(data.cFileName, wcslen(data.cFileName)));
        if (data.cAlternateFileName[0]) names.push_back(Utf8(data.cAlternateFileName, wcslen(data.cAlternateFileName)));
    } while (FindNextFileW(find, &data));
    const DWORD error = GetLastError();
    FindClose(find);
    if (error != ERROR_NO_MORE_FILES) return std::nullopt;  // a listing cut short decides nothing
    return names;
}

}  // namespace quillet::win32

namespace quillet::win32 {

namespace {

// Files and bytes below one folder; links to elsewhere are not followed, and
// a tree deeper or wider than any real install is cut off and counted as read.
bool AddFolder(std::wstring folder, int depth, FileSystem::FolderUsage& usage, unsigned& visited)
{
    if (depth > 32 || ++visited > 100000) return true;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                AddFolder(folder + L"\\" + name, depth + 1, usage, visited);
            continue;
        }
        ++usage.files;
        usage.bytes += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

}  // namespace

std::optional<FileSystem::FolderUsage> Win32FileSystem::MeasureFolder(const std::string& directory)
{
    WholeFileSystem whole;
    QuietErrors quiet;
    std::wstring folder = Wide(directory);
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    FolderUsage usage;
    unsigned visited = 0;
    if (!AddFolder(folder, 0, usage, visited)) return std::nullopt;
    return usage;
}

int64_t Win32FileSystem::FreeSpace(char drive)
{
    const wchar_t root[] = {static_cast<wchar_t>(static_cast<unsigned char>(drive)), L':', L'\\', L'\0'};
    ULARGE_INTEGER available;
    QuietErrors quiet;  // an empty removable drive named in a command
    if (!GetDiskFreeSpaceExW(root, &available, nullptr, nullptr)) return -1;
    return static_cast<int64_t>(available.QuadPart);
}

}  // namespace quillet::win32
