#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

class BackupFindTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        notepad = WindowsFile("notepad.exe");
        SeedUninstallKey({
            {"k1 alpha", "Alpha", notepad + " /a"},
            {"k2 beta", "Beta \"B\"", notepad + " /zzUniq"},
            {"k3 gamma", "Gamma", notepad + " /g"},
        });
    }
    void TearDown() override
    {
        DeleteFileA(backupFile.c_str());
        RemoveDirectoryA(backupDir.c_str());
    }

    std::string notepad;
    const std::string backupDir = ExeDirectory() + "Backup";
    std::string backupFile;
};

TEST_F(BackupFindTest, BackupProposesTheDatedNameInTheBackupFolderAndWritesTheFile)
{
    RemoveDirectoryA(backupDir.c_str());
    Quillet app;
    app.Start();
    PostMessageA(app.Window(), WM_COMMAND, IDM_BACKUP, 0);
    HWND save = app.WaitForMessageBox();
    ASSERT_NE(save, nullptr);
    EXPECT_NE(GetFileAttributesA(backupDir.c_str()), INVALID_FILE_ATTRIBUTES) << backupDir;

    SYSTEMTIME today;
    GetLocalTime(&today);
    char date[32];
    snprintf(date, sizeof date, "%d-%02d-%02d", today.wYear, today.wMonth, today.wDay);
    const std::string proposed = std::string("Uninstall Backup ") + date + ".reg";
    HWND name = GetDlgItem(save, 0x47c);  // the file name box (cmb13, or edt1 in older dialogs)
    if (!name) name = GetDlgItem(save, 0x480);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(ControlText(name), proposed);

    backupFile = backupDir + "\\" + proposed;
    PostMessageA(save, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindow(save); }));
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Information|Backup information will be stored into \"" + backupFile +
                                   "\" file and can be restored by double clicking on this file or importing into "
                                   "Registry Editor.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    std::string escaped;
    for (char c : notepad) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    const std::string section = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    EXPECT_EQ(ReadFileBytes(backupFile), "REGEDIT4\r\n\r\n" + section + "]\r\n" +
                                             "\r\n" + section + "\\k1 alpha]\r\n\"DisplayName\"=\"Alpha\"\r\n"
                                             "\"UninstallString\"=\"" + escaped + " /a\"\r\n" +
                                             "\r\n" + section + "\\k2 beta]\r\n\"DisplayName\"=\"Beta \\\"B\\\"\"\r\n"
                                             "\"UninstallString\"=\"" + escaped + " /zzUniq\"\r\n" +
                                             "\r\n" + section + "\\k3 gamma]\r\n\"DisplayName\"=\"Gamma\"\r\n"
                                             "\"UninstallString\"=\"" + escaped + " /g\"\r\n" + EmptyBackupSection32());
}

TEST_F(BackupFindTest, FindSelectsTheEntryWhoseCommandHoldsTheText)
{
    Quillet app;
    app.Start();
    ASSERT_EQ(app.RowText(0, 0), "Alpha");
    PostMessageA(app.Window(), WM_COMMAND, IDM_FIND, 0);
    HWND find = WaitForDialog(app, "Find Text");
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(find, IDC_SEARCHSHORTCUTS), static_cast<UINT>(BST_CHECKED));
    SendDlgItemMessageA(find, IDC_FINDEDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ZZUNIQ"));
    PostMessageA(find, WM_COMMAND, IDOK, 0);

    EXPECT_TRUE(Quillet::WaitFor([&] { return app.FocusedRow() == 1; })) << app.FocusedRow();
    EXPECT_EQ(app.RowText(1, 0), "Beta \"B\"");
    EXPECT_TRUE(ListView_GetItemState(app.Child(IDC_PROGRAMS), 1, LVIS_SELECTED) & LVIS_SELECTED);
    EXPECT_EQ(app.WaitForMessageBox(300), nullptr);  // one hit: no result dialog

    // The text comes back; a search that fails names it in lower case.
    PostMessageA(app.Window(), WM_COMMAND, IDM_FIND, 0);
    find = WaitForDialog(app, "Find Text");
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(find, IDC_FINDEDIT)), "ZZUNIQ");
    SendDlgItemMessageA(find, IDC_FINDEDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("No Such"));
    PostMessageA(find, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindow(find); }));
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Information|Search string \"no such\" not found!");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.FocusedRow(), 1);

    // A text typed and cancelled comes back; a log that had the focus and was
    // hidden leaves Find to the program list.
    ASSERT_TRUE(BringToFront(app));
    RECT log;
    GetClientRect(app.Child(IDC_LOG), &log);
    const LPARAM at = MAKELPARAM(log.right / 2, log.bottom - 4);
    PostMessageA(app.Child(IDC_LOG), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(app.Child(IDC_LOG), WM_LBUTTONUP, 0, at);
    const auto findAndCancel = [&](UINT expected, const char* type) {
        PostMessageA(app.Window(), WM_COMMAND, IDM_FIND, 0);
        HWND dialog = WaitForDialog(app, "Find Text");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(IsDlgButtonChecked(dialog, expected), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_FINDEDIT)), "No Such");
        SendDlgItemMessageA(dialog, IDC_FINDEDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(type));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindow(dialog); }));
    };
    findAndCancel(IDC_SEARCHLOG, "No Such");
    app.Command(IDM_LOG);
    findAndCancel(IDC_SEARCHSHORTCUTS, "typed");
    PostMessageA(app.Window(), WM_COMMAND, IDM_FIND, 0);
    HWND dialog = WaitForDialog(app, "Find Text");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_FINDEDIT)), "typed");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace
