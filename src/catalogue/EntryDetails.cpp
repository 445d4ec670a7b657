#include "catalogue/EntryDetails.h"

#include <cstdio>

#include "common/Text.h"
#include "common/Unicode.h"

namespace quillet {

namespace {

bool ContainsNoCase(const std::string& text, const char* word)
{
    const std::string lower = [&] {
        std::string s = text;
        for (char& c : s) c = AsciiLower(c);
        return s;
    }();
    std::string w = word;
    for (char& c : w) c = AsciiLower(c);
    return lower.find(w) != std::string::npos;
}

std::string Trimmed(const std::string& text)
{
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return text.substr(b, e - b);
}

bool AllDigits(const std::string& text)
{
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

uint64_t LittleEndian(const std::string& data, size_t bytes)
{
    uint64_t number = 0;
    for (size_t i = bytes; i-- > 0;) number = (number << 8) | static_cast<unsigned char>(data[i]);
    return number;
}

}  // namespace

bool EntryDetails::SystemOrUpdate() const
{
    return systemComponent || !parentKeyName.empty() || ContainsNoCase(releaseType, "update") ||
           ContainsNoCase(releaseType, "hotfix");
}

std::string DetailText(const RegistryValue& value)
{
    if (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegMultiSz) return std::string();
    // Never more than the display keeps; an odd byte left over reads as U+FFFD.
    std::string text;
    Utf8FromUtf16Le(std::string_view(value.data).substr(0, kDetailBytes), text);
    text.resize(std::min(text.find('\0'), text.size()));
    // Line breaks and tabs would break the row's single line.
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return text;
}

bool DetailNumber(const RegistryValue& value, int64_t& number)
{
    if (value.type == kRegDword && value.data.size() >= 4) {
        number = static_cast<int64_t>(LittleEndian(value.data, 4));
        return true;
    }
    if (value.type == kRegQword && value.data.size() >= 8) {
        number = static_cast<int64_t>(LittleEndian(value.data, 8) & 0x7FFFFFFFFFFFFFFFull);
        return true;
    }
    const std::string text = Trimmed(DetailText(value));
    if (!AllDigits(text) || text.size() > 18) return false;
    number = std::stoll(text);
    return true;
}

int32_t ParseInstallDate(const std::string& text)
{
    const std::string date = Trimmed(text);
    if (date.size() != 8 || !AllDigits(date)) return 0;
    const int year = std::stoi(date.substr(0, 4));
    const int month = std::stoi(date.substr(4, 2));
    const int day = std::stoi(date.substr(6, 2));
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1601 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap) return 0;
    return year * 10000 + month * 100 + day;
}

std::string SizeText(int64_t kib, char decimalSeparator)
{
    if (kib < 0) return std::string();
    char buffer[48];
    if (kib < 1024)
        std::snprintf(buffer, sizeof buffer, "%lld KB", static_cast<long long>(kib));
    else if (kib < 1024 * 1024)
        std::snprintf(buffer, sizeof buffer, "%.1f MB", static_cast<double>(kib) / 1024.0);
    else
        std::snprintf(buffer, sizeof buffer, "%.2f GB", static_cast<double>(kib) / (1024.0 * 1024.0));
    std::string text = buffer;
    for (char& c : text)
        if (c == '.') c = decimalSeparator;
    return text;
}

bool ParseIconLocation(const std::string& text, IconLocation& location)
{
    std::string rest = Trimmed(text);
    std::string path;
    if (!rest.empty() && rest[0] == '"') {
        const size_t close = rest.find('"', 1);
        path = rest.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        rest = close == std::string::npos ? std::string() : Trimmed(rest.substr(close + 1));
        if (!rest.empty() && rest[0] != ',') return false;
    } else {
        const size_t comma = rest.rfind(',');
        path = rest.substr(0, comma);
        rest = comma == std::string::npos ? std::string() : rest.substr(comma);
    }
    location.index = 0;
    if (!rest.empty()) {
        std::string index = Trimmed(rest.substr(1));
        const bool negative = !index.empty() && index[0] == '-';
        if (negative) index.erase(0, 1);
        if (!AllDigits(index) || index.size() > 9) return false;
        location.index = negative ? -std::stoi(index) : std::stoi(index);
    }
    location.path = Trimmed(path);
    return !location.path.empty();
}

EntryDetails DetailsFrom(const std::vector<RegistryValue>& values)
{
    EntryDetails d;
    int64_t major = -1, minor = 0, number = 0;
    const auto flag = [&](const RegistryValue& v) { return DetailNumber(v, number) && number != 0; };
    for (const RegistryValue& v : values) {
        const std::string& n = v.name;
        if (SameName(n, "Publisher")) d.publisher = DetailText(v);
        else if (SameName(n, "DisplayVersion")) d.version = Trimmed(DetailText(v));
        else if (SameName(n, "VersionMajor")) major = DetailNumber(v, number) ? number : -1;
        else if (SameName(n, "VersionMinor")) minor = DetailNumber(v, number) ? number : 0;
        else if (SameName(n, "InstallDate")) d.installDate = ParseInstallDate(DetailText(v));
        else if (SameName(n, "EstimatedSize")) d.sizeKiB = DetailNumber(v, number) ? number : -1;
        else if (SameName(n, "DisplayIcon")) d.displayIcon = DetailText(v);
        else if (SameName(n, "SystemComponent")) d.systemComponent = flag(v);
        else if (SameName(n, "ParentKeyName")) d.parentKeyName = Trimmed(DetailText(v));
        else if (SameName(n, "ReleaseType")) d.releaseType = DetailText(v);
        else if (SameName(n, "NoRemove")) d.noRemove = flag(v);
        else if (SameName(n, "NoModify")) d.noModify = flag(v);
        else if (SameName(n, "NoRepair")) d.noRepair = flag(v);
        else if (SameName(n, "WindowsInstaller")) d.windowsInstaller = flag(v);
        else if (SameName(n, "InstallLocation")) d.installLocation = DetailText(v);
        else if (SameName(n, "QuietUninstallString")) d.quietUninstall = DetailText(v);
        else if (SameName(n, "ModifyPath")) d.modifyPath = DetailText(v);
    }
    if (d.version.empty() && major >= 0) d.version = std::to_string(major) + "." + std::to_string(minor);
    return d;
}

}  // namespace quillet
