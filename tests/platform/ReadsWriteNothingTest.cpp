// Reading the Uninstall key must never write it: the list load, a start, a
// backup and a Properties round leave HKLM exactly as it was, apart from what
// the user changed, also with a key removed by another program between the
// listing and the reading and with a subkey name the ANSI code page cannot
// hold (enumerated with '?' in place of the characters it lacks).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/MainFrm.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeFileWriter.h"
#include "fakes/FakeMainView.h"

using namespace quillet;
using namespace quillet::win32;

namespace {

const std::wstring kUninstallW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::wstring kJapanese = L"\u65e5\u672c\u8a9e QuilletRO";  // three kanji: not in code page 1252

std::string Utf8(const std::wstring& text)
{
    std::string out(text.size() * 4 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

// Every key and value below `path`, in Unicode, one line each.
void Dump(HKEY root, const std::wstring& path, std::string& out)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    out += "[" + Utf8(path) + "]\n";
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::string data(size, '\0');
        nameLength = 16384;
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        out += Utf8(name) + "=" + std::to_string(type) + ":" + data.substr(0, size) + "\n";
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        Dump(root, path + L"\\" + name, out);
    }
    RegCloseKey(key);
}

std::string Snapshot()
{
    std::string out;
    Dump(HKEY_LOCAL_MACHINE, kUninstallW, out);
    return out;
}

void MakeEntry(const std::wstring& subkey, const std::wstring& name, const std::wstring& command)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kUninstallW + L"\\" + subkey).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(key, L"UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void Remove(const std::wstring& subkey) { RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kUninstallW + L"\\" + subkey).c_str()); }

// Another program removes a subkey right after the next listing.
class VanishingRegistry : public Win32Registry {
public:
    std::wstring vanish;
    std::vector<std::string> GetKeyNames() override
    {
        std::vector<std::string> names = Win32Registry::GetKeyNames();
        if (!vanish.empty()) Remove(vanish);
        vanish.clear();
        return names;
    }
};

class ReadsWriteNothingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TearDown();
        MakeEntry(L"QuilletRO Good", L"QuilletRO Good", L"C:\\nowhere\\good.exe");
        MakeEntry(L"QuilletRO Gone", L"QuilletRO Gone", L"C:\\nowhere\\gone.exe");
        MakeEntry(L"QuilletRO Vanishing", L"QuilletRO Vanishing", L"C:\\nowhere\\v.exe");
        MakeEntry(kJapanese, L"QuilletRO Japanese", L"C:\\nowhere\\j.exe");
        main.Catalogue().ApplySortState(0, true);
    }
    void TearDown() override
    {
        for (const wchar_t* subkey : {L"QuilletRO Good", L"QuilletRO Gone", L"QuilletRO Vanishing"}) Remove(subkey);
        Remove(kJapanese);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kUninstall + "\\??? QuilletRO").c_str());
    }
    int RowOf(const std::string& caption) const
    {
        for (size_t i = 0; i < main.Rows().size(); ++i)
            if (main.Rows()[i].caption == caption) return static_cast<int>(i);
        return -1;
    }

    VanishingRegistry registry;
    Win32FileSystem files;
    fakes::FakeLocale locale;
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    fakes::FakeRunner runner;
    fakes::FakeMainView view;
    fakes::FakeFileWriter writer;
    TMain main{view, Ports{registry, files, locale, clock, dialogs, runner, &writer}};
};

TEST_F(ReadsWriteNothingTest, LoadStartBackupAndPropertiesChangeOnlyWhatTheUserChanged)
{
    // The Japanese name is seen whole, not with the '?' of the ANSI functions.
    registry.SetRootKey(RootKey::LocalMachine);
    ASSERT_TRUE(registry.OpenKey("\\" + kUninstall, false));
    const auto names = registry.GetKeyNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E QuilletRO"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "??? QuilletRO"), names.end());

    // Load: one key goes between the listing and its reading.
    registry.vanish = L"QuilletRO Vanishing";
    const std::string before = Snapshot();
    Remove(L"QuilletRO Vanishing");
    std::string expected = Snapshot();
    MakeEntry(L"QuilletRO Vanishing", L"QuilletRO Vanishing", L"C:\\nowhere\\v.exe");
    ASSERT_EQ(Snapshot(), before);
    main.Guard([&] { main.Catalogue().LoadPrograms(); });
    EXPECT_TRUE(dialogs.failures.empty()) << dialogs.failures.front();
    EXPECT_GE(RowOf("QuilletRO Good"), 0);
    EXPECT_EQ(RowOf("QuilletRO Vanishing"), -1);
    EXPECT_GE(RowOf("QuilletRO Japanese"), 0);
    EXPECT_EQ(Snapshot(), expected) << "the load wrote the registry";

    // A start on an entry removed since the load: not found, nothing made.
    Remove(L"QuilletRO Gone");
    expected = Snapshot();
    view.focused = RowOf("QuilletRO Gone");
    ASSERT_GE(view.focused, 0);
    main.Guard([&] { main.Job().uninstallClick(); });
    ASSERT_GE(main.Log().Size(), 1u);
    EXPECT_EQ(main.Log().Records().back().message, "Uninstall program for \"QuilletRO Gone\" application not found!");
    EXPECT_EQ(Snapshot(), expected) << "the start wrote the registry";

    // Backup, with another key going between the listing and its reading.
    MakeEntry(L"QuilletRO Vanishing", L"QuilletRO Vanishing", L"C:\\nowhere\\v.exe");
    registry.vanish = L"QuilletRO Vanishing";
    dialogs.savedAs = "C:\\backup.reg";
    main.Guard([&] { main.Backup().BackupMMClick(); });
    EXPECT_TRUE(dialogs.failures.empty()) << dialogs.failures.front();
    EXPECT_EQ(writer.files["C:\\backup.reg"].find("Vanishing"), std::string::npos);
    EXPECT_EQ(Snapshot(), expected) << "the backup wrote the registry";

    // Properties: OK writes the name the user typed, and nothing else.
    const auto utf16 = [](const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    };
    expected = Snapshot();
    const size_t at = expected.find(utf16(L"QuilletRO Good"));
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, utf16(L"QuilletRO Good").size(), utf16(L"QuilletRO Better"));
    view.focused = RowOf("QuilletRO Good");
    dialogs.onProperties = [](TPropertiesForm& form) { form.Display = "QuilletRO Better"; };
    main.Guard([&] { main.Editing().EditClick(); });
    EXPECT_TRUE(dialogs.failures.empty()) << dialogs.failures.front();
    EXPECT_EQ(Snapshot(), expected);

    // An entry removed while its dialog was open is not brought back by OK.
    view.focused = RowOf("QuilletRO Better");
    ASSERT_GE(view.focused, 0);
    dialogs.onProperties = [&](TPropertiesForm& form) {
        Remove(L"QuilletRO Good");
        expected = Snapshot();
        form.Display = "QuilletRO Resurrected";
    };
    main.Guard([&] { main.Editing().EditClick(); });
    EXPECT_EQ(dialogs.failures,
              std::vector<std::string>{"Uninstall shortcut for \"QuilletRO Better\" application no longer exists."});
    EXPECT_EQ(Snapshot(), expected) << "Properties brought a removed entry back";
}

}  // namespace
