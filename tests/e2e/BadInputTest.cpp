#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "e2e/Fixture.h"

using namespace e2e;

namespace {

class BadInputTest : public QuilletTest {
protected:
};

TEST_F(BadInputTest, HugeAndOddTextsAreShownWhole)
{
    // Every character of the Latin-1 range and three beyond any Western code page, in UTF-8.
    std::string bytes;
    for (int c = 1; c <= 255; ++c) {
        if (c < 0x80) bytes += static_cast<char>(c);
        else bytes += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    bytes += "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
    const std::string huge(64 * 1024 - 2, 'N');
    SeedUninstallKey({{"Bytes", bytes, WindowsFile("notepad.exe") + " " + bytes}});
    SeedRawEntry("Huge", REG_SZ, huge + '\0', REG_SZ, "C:\\Gone\\" + huge + ".exe" + '\0');

    Quillet app;
    app.Start();
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 2 / 1");
    std::set<std::string> captions{app.RowText(0, 0), app.RowText(1, 0)};
    EXPECT_EQ(captions.count(bytes), 1u);
    // The driver reads at most 64 KiB less the terminator.
    EXPECT_EQ(captions.count(huge), 1u);
}

TEST_F(BadInputTest, WrongValueTypeIsReportedAndEarlierRowsStay)
{
    SeedUninstallKey({{"A first", "Listed first", WindowsFile("notepad.exe")}});
    SeedRawEntry("B broken", REG_DWORD, std::string("\x01\0\0\0", 4), REG_SZ, std::string("x.exe") + '\0');
    SeedRawEntry("C after", REG_SZ, std::string("After") + '\0', REG_SZ, WindowsFile("notepad.exe") + '\0');

    Quillet app;
    app.Launch();
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(DialogText(box), "Quillet|Invalid data type for 'DisplayName'");
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    // The window still opens, with the rows read before the broken entry;
    // the load stopped before the counts were written.
    app.WaitForWindow();
    EXPECT_EQ(app.StatusPanel(1), "");
    EXPECT_EQ(app.RowCount(), 1);
    EXPECT_EQ(app.RowText(0, 0), "Listed first");
}

TEST_F(BadInputTest, ThousandsOfEntriesAndAMissingKey)
{
    SeedUninstallKey({});
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
    {
        Quillet app;
        app.Start();
        EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 0 / 0");
        // The empty list is read, not made: the key stays missing.
        HKEY key;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    }
    std::vector<Entry> entries;
    for (int i = 0; i < 3000; ++i)
        entries.push_back({"Key" + std::to_string(i), "App " + std::to_string(i),
                           i % 3 ? WindowsFile("notepad.exe") : "C:\\Gone\\x" + std::to_string(i) + ".exe"});
    SeedUninstallKey(entries);
    Quillet app;
    app.Start();
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 3000 / 1000");
    EXPECT_EQ(app.RowCount(), 3000);
}

}  // namespace
