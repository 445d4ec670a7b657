#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/Settings.h"
#include "app/win32/Win32Profile.h"
#include "common/win32/Wide.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProfile.h"

using namespace quillet;
using quillet::fakes::FakeProfile;
using quillet::win32::Win32Profile;

namespace {

std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string file = std::string(dir) + name;
    DeleteFileA(file.c_str());
    return file;
}

// The file's lines, blank ones left out.
std::vector<std::string> Lines(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

// The same calls against the platform and the fake give the same file.
TEST(Win32Profile, BehavesAsTheFake)
{
    const std::string file = TempFile("quillet_profile_rules.ini");
    Win32Profile real;
    FakeProfile fake;
    for (ProfileFile* p : {static_cast<ProfileFile*>(&real), static_cast<ProfileFile*>(&fake)}) {
        ASSERT_TRUE(p->WriteString(file, "Main", "First", "1"));
        ASSERT_TRUE(p->WriteString(file, "View", "ViewType", "3"));
        ASSERT_TRUE(p->WriteString(file, "Main", "Second", "two"));  // at the end of [Main]
        ASSERT_TRUE(p->WriteString(file, "MAIN", "first", "one"));   // replaced in place
        ASSERT_TRUE(p->WriteSection(file, "Log", {"t=0;a\xC3\xBE", "t=1;b\xC3\xBE" "c", "u=0;x"}));
        ASSERT_TRUE(p->WriteString(file, "view", "Log", "0"));
        ASSERT_TRUE(p->EraseSection(file, "LOG"));
        ASSERT_TRUE(p->WriteSection(file, "Log", {"t=0;new\xC3\xBE", "t=0;new\xC3\xBE"}));
    }
    // The fake keeps UTF-8 lines, the file the code page's bytes (the thorn is 0xFE in both pages).
    fakes::FakeLocale latin1;
    std::vector<std::string> ansi(fake.lines.size());
    for (size_t i = 0; i < ansi.size(); ++i) ASSERT_TRUE(latin1.ToAnsi(fake.lines[i], ansi[i]));
    EXPECT_EQ(Lines(file), ansi);
    EXPECT_NE(std::find(ansi.begin(), ansi.end(), "t=0;new\xFE"), ansi.end());

    for (ProfileFile* p : {static_cast<ProfileFile*>(&real), static_cast<ProfileFile*>(&fake)}) {
        EXPECT_EQ(p->ReadString(file, "main", "FIRST", "d"), "one");
        EXPECT_EQ(p->ReadString(file, "Main", "Missing", "d"), "d");
        EXPECT_EQ(p->ReadString(file, "None", "First", "d"), "d");
        EXPECT_EQ(p->ReadSection(file, "log"), (std::vector<std::string>{"t=0;new\xC3\xBE", "t=0;new\xC3\xBE"}));
        EXPECT_TRUE(p->ReadSection(file, "None").empty());
    }
    DeleteFileA(file.c_str());
}

TEST(Win32Profile, BlanksAroundValuesAreDropped)
{
    const std::string file = TempFile("quillet_profile_blanks.ini");
    std::ofstream(file, std::ios::binary) << "[Main]\r\n  Key  =  a value  \r\nEmpty=\r\n";
    Win32Profile real;
    EXPECT_EQ(real.ReadString(file, "Main", "key", "d"), "a value");
    EXPECT_EQ(real.ReadString(file, "Main", "Empty", "d"), "");
    DeleteFileA(file.c_str());
}

TEST(Win32Profile, RefusedWriteRaisesUnableToWrite)
{
    Win32Profile real;
    SettingsFile settings(real, "c:\\no such folder\\quillet.ini");
    try {
        settings.WriteInteger("Main", "LogHeight", 1);
        FAIL() << "the write was taken";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Unable to write to c:\\no such folder\\quillet.ini");
    }
}

TEST(Win32Profile, ReadOnlyFileIsRefusedAndLeftAsItWas)
{
    const std::string file = TempFile("quillet-readonly.ini");
    std::ofstream(file, std::ios::binary) << "[Main]\r\nLogHeight=7\r\n[Log]\r\nt=0;m\xFE\r\n";
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    Win32Profile real;
    EXPECT_EQ(real.ReadString(file, "Main", "LogHeight", ""), "7");
    EXPECT_FALSE(real.WriteString(file, "Main", "LogHeight", "8"));
    EXPECT_FALSE(real.EraseSection(file, "Log"));
    EXPECT_FALSE(real.WriteSection(file, "Log", {"u=0;n\xC3\xBE"}));
    EXPECT_EQ(Lines(file), (std::vector<std::string>{"[Main]", "LogHeight=7", "[Log]", "t=0;m\xFE"}));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(real.WriteString(file, "Main", "LogHeight", "8"));
    EXPECT_EQ(real.ReadString(file, "Main", "LogHeight", ""), "8");
    DeleteFileA(file.c_str());
}

// A full settings file written through the program's format comes back
// through the platform's reads: every record, repeated keys and marks included.
TEST(Win32Profile, SettingsAndA999RecordLogRoundTrip)
{
    const std::string file = TempFile("quillet_profile_log.ini");
    Win32Profile real;
    SettingsFile settings(real, file);
    StoredSettings written;
    written.NameWidth = 321;
    written.BackupDir = "C:\\Back up\\";
    written.Ascending = false;
    WriteStoredSettings(settings, written);
    std::vector<LogRecord> records;
    for (int i = 0; i < 999; ++i)
        records.push_back({"08.12.2026 10:" + std::to_string(i / 60) + ":00", "Msg;" + std::to_string(i),
                           i % 4 ? "c\xC3\xBE" "d" : "", i % 2});
    WriteLogSection(settings, records);

    StoredSettings read;
    ReadStoredSettings(settings, read);
    EXPECT_EQ(read.NameWidth, 321);
    EXPECT_EQ(read.BackupDir, "C:\\Back up\\");
    EXPECT_FALSE(read.Ascending);
    EXPECT_EQ(ReadLogSection(settings), records);

    char value[64];
    GetPrivateProfileStringA("View", "SortOn", "", value, sizeof value, file.c_str());
    EXPECT_STREQ(value, "0");
    GetPrivateProfileStringA("Log", "08.12.2026 10:0:00", "", value, sizeof value, file.c_str());
    EXPECT_STREQ(value, "0;Msg;0\xFE");  // the first of the repeated keys
    DeleteFileA(file.c_str());
}

// The file stays ANSI: what the code page lacks is kept as a number, a
// literal "&#" is kept apart, and both read back exactly, also from a folder
// whose name the code page lacks.
TEST(Win32Profile, TextOutsideTheCodePageIsKeptAsReferences)
{
    ASSERT_EQ(GetACP(), 1252u) << "the file's bytes below are those of code page 1252";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string dir = win32::Utf8(temp, wcslen(temp)) + "quillet \xE6\x97\xA5";
    CreateDirectoryW(win32::Wide(dir).c_str(), nullptr);
    const std::string file = dir + "\\quillet.ini";
    const std::string value = "C:\\\xE6\x97\xA5\xE6\x9C\xAC caf\xC3\xA9 R&D &#65;";
    const std::string line = "t=0;\xE2\x82\xAC \xF0\x9F\x98\x80\xC3\xBE" "c";
    Win32Profile real;
    ASSERT_TRUE(real.WriteString(file, "Main", "BackupDir", value));
    ASSERT_TRUE(real.WriteSection(file, "Log", {line}));
    EXPECT_EQ(real.ReadString(file, "Main", "BackupDir", ""), value);
    EXPECT_EQ(real.ReadSection(file, "Log"), std::vector<std::string>{line});

    std::string bytes(4096, '\0');
    const HANDLE handle = CreateFileW(win32::Wide(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      0, nullptr);
    DWORD read = 0;
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(handle);
    bytes.resize(read);
    EXPECT_NE(bytes.find("BackupDir=C:\\&#26085;&#26412; caf\xE9 R&D &#38;#65;\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("t=0;\x80 &#128512;\xFE" "c\r\n"), std::string::npos) << bytes;
    DeleteFileW(win32::Wide(file).c_str());
    RemoveDirectoryW(win32::Wide(dir).c_str());
}

// Values longer than a first read buffer come back whole, and a stored
// reference to a line break stays text: nothing becomes an INI line.
TEST(Win32Profile, LongValuesReadWholeAndNoReferenceBecomesALine)
{
    const std::string file = TempFile("quillet-long.ini");
    std::string dayLong = "C:\\";
    for (int i = 0; i < 400; ++i) dayLong += "\xE6\x97\xA5";  // each "&#26085;" in the file: 3,200 characters
    const std::string plainLong = "D:\\" + std::string(5000, 'x');
    const std::string breaks = "C:\\B&#13;&#10;[Main]";
    Win32Profile real;
    for (const std::string& value : {dayLong, plainLong, breaks}) {
        ASSERT_TRUE(real.WriteString(file, "Main", "BackupDir", value));
        EXPECT_EQ(real.ReadString(file, "Main", "BackupDir", ""), value) << value.size();
    }
    EXPECT_EQ(Lines(file), (std::vector<std::string>{"[Main]", "BackupDir=C:\\B&#38;#13;&#38;#10;[Main]"}));
    DeleteFileA(file.c_str());
}

// Lines of a section that would start a section, a comment or a key of no
// name, or hold a NUL or a line break, are written so that the file keeps
// one line each, in [Log] alone, and each reads back exactly (one of no
// name with a blank first, which a log record's time drops).
TEST(Win32Profile, SectionLinesReadBackExactlyAndMakeNoSection)
{
    const std::string file = TempFile("quillet-hostile-log.ini");
    const std::vector<std::string> lines = {"[Main]=0;bracket",
                                            ";x=0;comment mark",
                                            "=0;no time",
                                            " \t[View]=0;blanks",
                                            std::string("a\0[Main]\0BackupDir=D:\\Evil", 26),
                                            "t=0;x\r\n[Main]\r\nBackupDir=E:\\Evil",
                                            "&#91;x=0;a literal reference"};
    Win32Profile real;
    ASSERT_TRUE(real.WriteString(file, "Main", "BackupDir", "C:\\Kept"));
    ASSERT_TRUE(real.WriteSection(file, "Log", lines));
    std::vector<std::string> expected = lines;
    expected[2] = " " + expected[2];
    EXPECT_EQ(real.ReadSection(file, "Log"), expected);
    EXPECT_EQ(real.ReadString(file, "Main", "BackupDir", ""), "C:\\Kept");
    char names[256] = {};
    const DWORD length = GetPrivateProfileSectionNamesA(names, sizeof names, file.c_str());
    EXPECT_EQ(std::string(names, length), std::string("Main\0Log\0", 9));
    EXPECT_EQ(Lines(file).size(), 3 + lines.size());  // [Main], its key, [Log] and one line each
    DeleteFileA(file.c_str());
}

}  // namespace
