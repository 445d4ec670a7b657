#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

constexpr REGSAM kViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

void Seed(REGSAM view, const std::string& name, const std::string& command)
{
    HKEY key;
    const std::string path = std::string(kUninstallKey) + "\\QuilletTwin";
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
    RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
}

bool TwinExists(REGSAM view)
{
    HKEY key;
    const std::string path = std::string(kUninstallKey) + "\\QuilletTwin";
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void RemoveTwins()
{
    for (REGSAM view : kViews) {
        HKEY uninstall;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS | view, &uninstall) != ERROR_SUCCESS)
            continue;
        RegDeleteKeyExA(uninstall, "QuilletTwin", view, 0);
        RegCloseKey(uninstall);
    }
}

int HeaderCount(const Quillet& app)
{
    return Header_GetItemCount(ListView_GetHeader(app.Child(IDC_PROGRAMS)));
}

class PlatformTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        SeedUninstallKey({});
        RemoveTwins();
    }
    void TearDown() override { RemoveTwins(); }
};

TEST_F(PlatformTest, EachViewsEntryIsListedWithItsPlatformAndDeletedInItsOwnView)
{
    const std::string good = WindowsFile("notepad.exe");
    Seed(KEY_WOW64_64KEY, "Twin", good + " /64");
    Seed(KEY_WOW64_32KEY, "Twin", good + " /32");
    Quillet app;
    app.Start();
    // Name, command and subkey, Source and the four details, on every Windows.
    ASSERT_EQ(HeaderCount(app), 8);
    if (!Windows64()) {
        EXPECT_EQ(app.RowCount(), 1);
        return;
    }
    ASSERT_EQ(app.RowCount(), 2);
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 2 / 0");
    int row32 = -1;
    for (int row = 0; row < 2; ++row) {
        const std::string command = app.RowText(row, 1);
        const bool is32 = command.size() > 3 && command.substr(command.size() - 3) == "/32";
        EXPECT_EQ(app.RowText(row, 3), is32 ? "32-bit" : "64-bit") << command;
        EXPECT_EQ(app.RowText(row, 2), "QuilletTwin");
        if (is32) row32 = row;
    }
    ASSERT_GE(row32, 0);

    // Sorted by Platform: the 32-bit entry comes first.
    app.ClickHeader(3);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowText(0, 3) == "32-bit"; }));
    ASSERT_TRUE(FocusRow(app, 0));
    app.PressKey(VK_DELETE);
    HWND box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 1; }));
    EXPECT_FALSE(TwinExists(KEY_WOW64_32KEY));
    EXPECT_TRUE(TwinExists(KEY_WOW64_64KEY));
    EXPECT_EQ(app.RowText(0, 3), "64-bit");
}

}  // namespace

namespace {

// "Japanese" in Japanese: no Western code page holds it.
const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";

TEST_F(PlatformTest, ANameOutsideTheCodePageIsListedDeletedAndLoggedWhole)
{
    const std::string good = WindowsFile("notepad.exe");
    SeedUninstallKey({{kJapanese, kJapanese + " 2.0", good + " /" + kJapanese}});
    Quillet app;
    app.Start();
    ASSERT_EQ(app.RowCount(), 1);
    EXPECT_EQ(app.RowText(0, 0), kJapanese + " 2.0");
    EXPECT_EQ(app.RowText(0, 1), good + " /" + kJapanese);
    EXPECT_EQ(app.RowText(0, 2), kJapanese);
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 1 / 0");

    ASSERT_TRUE(FocusRow(app, 0));
    app.PressKey(VK_DELETE);
    HWND box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Confirm|Are you really want to delete shortcut to uninstall \"" + kJapanese +
                                   " 2.0\" application?");
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 0; }));
    EXPECT_FALSE(KeyExists(kJapanese));
    const std::string record = "Uninstall shortcut for \"" + kJapanese + " 2.0\" application deleted!";
    EXPECT_EQ(app.LogText(0, 1), record);

    // The settings file is ANSI, yet the record comes back whole.
    app.Close();
    ASSERT_TRUE(app.Exited(15000));
    Quillet again;
    again.KeepSettings = true;
    again.Start();
    EXPECT_EQ(again.LogText(0, 1), record);
}

}  // namespace
