#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

const std::string kUserKey = std::string(kUninstallKey) + "\\QuilletE2E Chat";

void SetText(HKEY key, const char* name, const std::string& text)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
}

// The machine's entries with details on some and none on others, and a
// per-user entry in HKCU shaped like a chat client's user setup.
class SourcesTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        const std::string good = WindowsFile("notepad.exe");
        SeedUninstallKey({{"big", "Big Suite", good}, {"small", "Small Tool", good}, {"bare", "Bare", good}});
        SeedValue("big", "Publisher", "Makers Ltd");
        SeedValue("big", "DisplayVersion", "10.2");
        SeedValue("big", "InstallDate", "20230405");
        SeedValue("small", "DisplayVersion", "9.1");
        SeedValue("small", "URLUpdateInfo", "");
        SeedValue("big", "DisplayIcon", "%SystemRoot%\\system32\\shell32.dll,3");
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kUserKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        SetText(key, "DisplayName", "Chat");
        SetText(key, "UninstallString", good + " --uninstall ");
        SetText(key, "QuietUninstallString", good + " --uninstall -s");
        const DWORD kib = 150000;
        RegSetValueExA(key, "EstimatedSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kib), sizeof kib);
        RegCloseKey(key);
        // Sizes by value: 150000 KB is more than 2048 KB, though "146.5 MB" < "2.0 MB" as text.
        HKEY big;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\big").c_str(), 0, KEY_ALL_ACCESS, &big);
        const DWORD bigKib = 2048;
        RegSetValueExA(big, "EstimatedSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&bigKib), sizeof bigKib);
        RegCloseKey(big);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kUserKey.c_str());
        QuilletTest::TearDown();
    }
    static int Row(const Quillet& app, const std::string& caption)
    {
        for (int row = 0; row < app.RowCount(); ++row)
            if (app.RowText(row, 0) == caption) return row;
        return -1;
    }
};

TEST_F(SourcesTest, DetailColumnsShowSortByValueAndAUserEntryIsDeletedAndUndone)
{
    Quillet app;
    app.Start();
    ASSERT_EQ(Header_GetItemCount(ListView_GetHeader(app.Child(IDC_PROGRAMS))), 8);
    ASSERT_EQ(app.RowCount(), 4);
    const int chat = Row(app, "Chat");
    const int big = Row(app, "Big Suite");
    ASSERT_GE(chat, 0);
    EXPECT_EQ(app.RowText(chat, 3), "User");
    EXPECT_EQ(app.RowText(big, 4), "Makers Ltd");
    EXPECT_EQ(app.RowText(big, 5), "10.2");
    EXPECT_FALSE(app.RowText(big, 6).empty());  // the date in the user's short format
    EXPECT_NE(app.RowText(big, 6).find("2023"), std::string::npos);
    EXPECT_EQ(app.RowText(Row(app, "Bare"), 6), "");
    EXPECT_EQ(app.RowText(big, 7), "2.0 MB");
    EXPECT_EQ(app.RowText(chat, 7).substr(app.RowText(chat, 7).size() - 2), "MB");
    // The program's own icon, after the verdicts' two pictures and the bad mark.
    EXPECT_TRUE(Quillet::WaitFor([&] { return RowImage(app, big) > 2; })) << RowImage(app, big);
    EXPECT_LT(RowImage(app, Row(app, "Bare")), 2);

    // Size and Version sort by value, not by text; the window is narrower
    // than the columns, so the list scrolls to them first.
    ListView_Scroll(app.Child(IDC_PROGRAMS), 1000, 0);
    app.ClickHeader(7);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowText(3, 0) == "Chat"; }));
    EXPECT_EQ(app.RowText(2, 0), "Big Suite");
    app.ClickHeader(5);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowText(3, 0) == "Big Suite"; }));
    EXPECT_EQ(app.RowText(2, 0), "Small Tool");

    // The per-user entry is deleted in HKCU and Undo puts it back there.
    ASSERT_TRUE(FocusRow(app, Row(app, "Chat")));
    app.PressKey(VK_DELETE);
    HWND box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 3; }));
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kUserKey.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    ASSERT_TRUE(BringToFront(app));
    SendKeys({VK_CONTROL}, 'Z');
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 4; }));
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kUserKey.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    char data[MAX_PATH] = "";
    DWORD size = sizeof data - 1;
    RegQueryValueExA(key, "QuietUninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    EXPECT_NE(std::string(data).find("--uninstall -s"), std::string::npos);
    EXPECT_EQ(app.RowText(Row(app, "Chat"), 3), "User");
}

}  // namespace
