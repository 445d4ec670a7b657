#include "catalogue/win32/Win32UserAccounts.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "common/win32/Handles.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

struct LocalSid {
    PSID sid = nullptr;
    ~LocalSid()
    {
        if (sid) LocalFree(sid);
    }
};

// The folder name of the user's profile, as the profile list keeps it.
std::string ProfileName(const std::string& sid)
{
    const std::wstring path = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + Wide(sid);
    RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    wchar_t folder[MAX_PATH + 1] = {};
    DWORD size = sizeof folder - sizeof(wchar_t), type = REG_NONE;
    if (RegQueryValueExW(key.get(), L"ProfileImagePath", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::wstring text(folder, wcsnlen(folder, size / sizeof(wchar_t)));
    while (!text.empty() && text.back() == L'\\') text.pop_back();
    const size_t slash = text.rfind(L'\\');
    return Utf8(slash == std::wstring::npos ? text : text.substr(slash + 1));
}

}  // namespace

std::string Win32UserAccounts::CurrentSid()
{
    Handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return {};
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
    std::string sid = Utf8(text);
    LocalFree(text);
    return sid;
}

std::string Win32UserAccounts::NameOf(const std::string& sid)
{
    LocalSid binary;
    if (ConvertStringSidToSidW(Wide(sid).c_str(), &binary.sid)) {
        wchar_t name[256], domain[256];
        DWORD nameLength = 256, domainLength = 256;
        SID_NAME_USE use;
        if (LookupAccountSidW(nullptr, binary.sid, name, &nameLength, domain, &domainLength, &use)) {
            const std::string user = Utf8(name);
            return domainLength && domain[0] ? Utf8(domain) + "\\" + user : user;
        }
    }
    return ProfileName(sid);
}

}  // namespace quillet::win32
