#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

constexpr int kLog = IDC_LOG;

class EditTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        good = WindowsFile("notepad.exe");
    }
    // Keys sent through the input queue go to the window in front.
    static void Front(const Quillet& app) { ASSERT_TRUE(BringToFront(app)); }

    std::string good;
};

TEST_F(EditTest, CtrlNTypeANameAndACommandEnterMakesTheEntry)
{
    SeedUninstallKey({{"k1", "Alpha", good}});
    Quillet app;
    app.Start();
    Front(app);
    SendKeys({VK_CONTROL}, 'N');
    HWND dialog = WaitForDialog(app, "New shortcut");
    ASSERT_NE(dialog, nullptr);
    HWND name = GetDlgItem(dialog, IDC_PROP_DISPLAY);
    HWND command = GetDlgItem(dialog, IDC_PROP_UNINSTALL);
    EXPECT_EQ(ControlText(name), "");
    EXPECT_EQ(ControlText(command), "");

    // The name field has the keyboard: typing lands there.
    ASSERT_TRUE(Quillet::WaitFor([&] { return GetForegroundWindow() == dialog; }));
    Sleep(200);
    for (WORD key : {'Z', 'U', 'L', 'U'}) SendKeys({}, key);
    SendKeys({}, VK_SPACE);
    for (WORD key : {'T', 'O', 'O', 'L'}) SendKeys({}, key);
    ASSERT_TRUE(Quillet::WaitFor([&] { return ControlText(name) == "zulu tool"; })) << ControlText(name);
    SendKeys({}, VK_TAB);
    SetControlText(command, good + " /u");
    SendKeys({}, VK_RETURN);

    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 2; }));
    EXPECT_FALSE(IsWindow(dialog) && IsWindowVisible(dialog));
    EXPECT_EQ(StoredValue("zulu_tool", "DisplayName"), "zulu tool");
    EXPECT_EQ(StoredValue("zulu_tool", "UninstallString"), good + " /u");
    EXPECT_EQ(app.FocusedRow(), 1);
    EXPECT_EQ(app.RowText(1, 0), "zulu tool");
    EXPECT_EQ(app.RowText(1, 2), "zulu_tool");
    EXPECT_EQ(ListText(app, kLog, 0, 1), "Shortcut for \"zulu tool\" application added.");
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 2 / 0");
}

TEST_F(EditTest, DelYesDeletesTheSubkeyWholeAndRecordsIt)
{
    SeedUninstallKey({{"k1", "Alpha", good}, {"k2", "Beta", good}});
    HKEY child;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\k1\\Child\\Deeper").c_str(), 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(child);
    Quillet app;
    app.Start();
    ASSERT_EQ(app.FocusedRow(), 0);

    app.PressKey(VK_DELETE);
    HWND box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Confirm|Are you really want to delete shortcut to uninstall \"Alpha\" application?");
    PostMessageA(box, WM_COMMAND, IDYES, 0);

    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 1; }));
    EXPECT_FALSE(KeyExists("k1"));
    EXPECT_TRUE(KeyExists("k2"));
    EXPECT_EQ(app.RowText(0, 0), "Beta");
    EXPECT_EQ(ListText(app, kLog, 0, 1), "Uninstall shortcut for \"Alpha\" application deleted!");
}

TEST_F(EditTest, AltEnterShowsTheRegistryValuesAndOkWritesThemBack)
{
    SeedUninstallKey({{"k1", "Alpha", good + " /x"}});
    Quillet app;
    app.Start();
    // Changed behind the list's back: the dialog shows the registry.
    SeedRawEntry("k1", REG_SZ, std::string("Alpha (registry)") + '\0', REG_SZ, good + " /r" + '\0');
    Front(app);
    SendKeys({VK_MENU}, VK_RETURN);
    HWND dialog = WaitForDialog(app, "\"Alpha (registry)\" properties");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_PROP_DISPLAY)), "Alpha (registry)");
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_PROP_UNINSTALL)), good + " /r");

    SetControlText(GetDlgItem(dialog, IDC_PROP_UNINSTALL), good + " /y");
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowText(0, 1) == good + " /y"; })) << app.RowText(0, 1);
    EXPECT_EQ(app.RowText(0, 0), "Alpha (registry)");
    EXPECT_EQ(app.RowText(0, 2), "k1");
    EXPECT_EQ(StoredValue("k1", "UninstallString"), good + " /y");
    EXPECT_EQ(StoredValue("k1", "DisplayName"), "Alpha (registry)");
    EXPECT_EQ(ListView_GetItemCount(app.Child(kLog)), 0);  // no record for a change of properties
}

TEST_F(EditTest, ShiftDelDeletesEveryBadEntry)
{
    SeedUninstallKey({{"k1", "Alpha", good}, {"k2", "Gone 1", "C:\\nowhere\\a.exe"},
                      {"k3", "Gone 2", "C:\\nowhere\\b.exe"}});
    Quillet app;
    app.Start();
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 3 / 2");
    Front(app);
    SendKeys({VK_SHIFT}, VK_DELETE);
    HWND box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Confirm|Are you sure want to delete 2 bad shortcut(s)?");
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 1; }));
    EXPECT_FALSE(KeyExists("k2"));
    EXPECT_FALSE(KeyExists("k3"));
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 1 / 0");
    EXPECT_EQ(ListView_GetItemCount(app.Child(kLog)), 2);
}

}  // namespace

namespace {

TEST_F(EditTest, CtrlZAfterDelBringsTheRowItsFocusAndItsRecordBack)
{
    SeedUninstallKey({{"k1", "Alpha", good}, {"k2", "Beta", good}});
    SeedValue("k1\\Child\\Deeper", "Level", "two");
    SeedValue("k1", "Publisher", "Alpha & Co");
    const RegistryTree before = ReadUninstallTree();
    Quillet app;
    app.Start();
    ASSERT_EQ(app.FocusedRow(), 0);
    // Highlighting Undo puts its text in the hint panel: the menu itself
    // cannot be read from another process under Wine. The pointer's own hint
    // may take the panel back between two calls, so highlight until it shows.
    const std::string undoItemHint =
        "Take back the last change made to the registry (the last 1,000 changes or 64 MiB of this run; older ones "
        "stay in the changes file)";
    const auto undoHint = [&](const std::string& expected) {
        std::string shown;
        Quillet::WaitFor([&] {
            SendMessageA(app.Window(), WM_MENUSELECT, MAKEWPARAM(IDM_UNDO, 0), 0);
            shown = app.StatusPanel(0);
            return shown == expected;
        }, 3000);
        return shown;
    };
    EXPECT_EQ(undoHint(undoItemHint), undoItemHint);

    app.PressKey(VK_DELETE);
    HWND box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 1; }));
    ASSERT_FALSE(KeyExists("k1"));
    EXPECT_EQ(undoHint("Undo delete of \"Alpha\""), "Undo delete of \"Alpha\"");

    FocusRow(app, 0);  // Beta
    Front(app);
    SendKeys({VK_CONTROL}, 'Z');
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 2; }));
    EXPECT_EQ(ReadUninstallTree(), before);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.FocusedRow() >= 0 && app.RowText(app.FocusedRow(), 0) == "Alpha"; }));
    EXPECT_EQ(ListText(app, kLog, 0, 1), "Shortcut for \"Alpha\" application restored.");
    EXPECT_EQ(undoHint(undoItemHint), undoItemHint);
    const std::string changes = ReadFileBytes(ExeDirectory() + "Backup\\Changes " + [] {
        SYSTEMTIME now;
        GetLocalTime(&now);
        char date[16];
        snprintf(date, sizeof date, "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
        return std::string(date);
    }() + ".reg");
    EXPECT_NE(changes.find("delete of \"Alpha\""), std::string::npos);
    EXPECT_NE(changes.find("\\k1\\Child\\Deeper]\r\n\"Level\"=\"two\""), std::string::npos);
}

}  // namespace
