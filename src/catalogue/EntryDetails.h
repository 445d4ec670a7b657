#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/Registry.h"

namespace quillet {

// Texts longer than this (UTF-16 units) are cut for display; the registry
// port reads no more than kDetailBytes of any detail value.
inline constexpr size_t kDetailChars = 1024;
inline constexpr size_t kDetailBytes = kDetailChars * 2;

// What a user decides by, read from the entry's key with the list. Every
// text is cut at kDetailChars and holds no NUL; a command here may be cut,
// so one that is run is read again whole from the registry.
struct EntryDetails {
    std::string publisher;       // Publisher
    std::string version;         // DisplayVersion, else VersionMajor.VersionMinor
    std::string displayIcon;     // DisplayIcon as stored
    std::string parentKeyName;   // ParentKeyName
    std::string releaseType;     // ReleaseType
    std::string installLocation; // InstallLocation
    std::string quietUninstall;  // QuietUninstallString
    std::string modifyPath;      // ModifyPath
    int32_t installDate = 0;     // InstallDate as YYYYMMDD when it is a real date, else 0
    int64_t sizeKiB = -1;        // EstimatedSize in KiB, -1 when missing or no number
    bool systemComponent = false;  // SystemComponent non-zero
    bool noRemove = false;
    bool noModify = false;
    bool noRepair = false;
    bool windowsInstaller = false;

    // A system component or an update: listed, shown grey, hidden on request.
    bool SystemOrUpdate() const;
};

// The details from the key's values (names matched ignoring ASCII case).
EntryDetails DetailsFrom(const std::vector<RegistryValue>& values);

// The parsing rules, one value each.
// Text of a string value (REG_SZ, REG_EXPAND_SZ, the first of REG_MULTI_SZ)
// up to its first NUL and cut at kDetailChars; empty for any other type.
std::string DetailText(const RegistryValue& value);
// A number from a DWORD or QWORD, or a string holding only a decimal number
// (blanks around it allowed); false otherwise.
bool DetailNumber(const RegistryValue& value, int64_t& number);
// "YYYYMMDD" of a real date as that number, 0 for anything else.
int32_t ParseInstallDate(const std::string& text);
// KiB as the Size column shows them: "850 KB", "12.4 MB", "1.50 GB"; the
// decimal separator is the user's.
std::string SizeText(int64_t kib, char decimalSeparator);

// DisplayIcon's file and icon index: "path[,index]", quoted or not; the
// quotes and blanks around the path go. False when it names no file.
struct IconLocation {
    std::string path;
    int index = 0;
};
bool ParseIconLocation(const std::string& text, IconLocation& location);

}  // namespace quillet
