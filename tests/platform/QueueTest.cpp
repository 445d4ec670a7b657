#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "app/MainFrm.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "platform/SystemTools.h"
#include "runner/win32/AppRunner.h"

using namespace quillet;
using namespace quillet::win32;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string Console()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string dir(path);
    return "\"" + dir.substr(0, dir.find_last_of('\\') + 1) + "qtest_console.exe\"";
}

void SetText(const std::string& subkey, const char* name, const std::string& text)
{
    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &h, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
    RegCloseKey(h);
}

class QueueRunTest : public ::testing::Test {
protected:
    QueueRunTest() : folder_(platform_tests::TempDir("QuilletQueueLeft")) {}
    void SetUp() override
    {
        for (const char* key : kKeys) RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kUninstall + key).c_str());
        CreateDirectoryA(folder_.c_str(), nullptr);
        HANDLE file = CreateFileA((folder_ + "\\settings.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                  nullptr);
        DWORD written;
        WriteFile(file, "left=1\r\n", 8, &written, nullptr);
        CloseHandle(file);
    }
    void TearDown() override
    {
        for (const char* key : kKeys) RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kUninstall + key).c_str());
        DeleteFileA((folder_ + "\\settings.ini").c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    void Entry(const std::string& subkey, const std::string& name, const std::string& arguments)
    {
        SetText(subkey, "DisplayName", name);
        SetText(subkey, "UninstallString", Console() + arguments);
    }
    void Select(std::initializer_list<const char*> keys)
    {
        main.Catalogue().ApplySortState(0, true);
        main.Catalogue().LoadPrograms();
        view.selected.clear();
        for (const char* key : keys) view.selected.push_back(main.Catalogue().IndexOf({key, RegistryView::Native}));
        view.focused = view.selected.front();
    }
    // Serves the runner's reports, as the message loop would, until the queue has ended.
    bool RunToTheEnd()
    {
        const DWORD start = GetTickCount();
        while (main.Job().Running) {
            if (GetTickCount() - start > 30000) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
        return true;
    }
    std::vector<std::string> Records() const
    {
        std::vector<std::string> lines;
        for (const LogRecord& record : main.Log().Records())
            lines.insert(lines.begin(), record.message + (record.comment.empty() ? "" : " | " + record.comment));
        return lines;
    }

    static constexpr const char* kKeys[] = {"QuilletQ1", "QuilletQ2", "QuilletQ3", "QuilletQuiet"};
    std::string folder_;
    Win32Registry registry;
    Win32FileSystem files;
    fakes::FakeLocale locale;
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    TAppRunner runner;
    fakes::FakeMainView view;
    TMain main{view, Ports{registry, files, locale, clock, dialogs, runner}};
};

TEST_F(QueueRunTest, ThreeUninstallersOneCancelledOneLeavingItsFolder)
{
    Entry("QuilletQ1", "Queue one", " uninstall QuilletQ1");
    Entry("QuilletQ2", "Queue two", " exit 1602 200");  // the user cancelled
    Entry("QuilletQ3", "Queue three", " uninstall QuilletQ3");
    SetText("QuilletQ3", "InstallLocation", folder_ + "\\");
    Select({"QuilletQ1", "QuilletQ2", "QuilletQ3"});
    main.Job().uninstallClick();
    ASSERT_EQ(dialogs.queueQuestions.size(), 1u);
    EXPECT_EQ(view.statusText, "Adding or removing \"Queue one\" (1 of 3)");
    ASSERT_TRUE(RunToTheEnd());

    const std::vector<std::string> records = Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].rfind("Application \"Queue one\" successfuly uninstalled. | Probably ", 0), 0u) << records[0];
    EXPECT_EQ(records[1], "Application \"Queue two\" was not uninstalled. | Exit code: 1602");
    EXPECT_EQ(records[2].rfind("Application \"Queue three\" successfuly uninstalled. | Probably ", 0), 0u)
        << records[2];
    const std::string left = "; Folder left: " + folder_ + " (0,0 MB)";
    EXPECT_EQ(records[2].substr(records[2].size() - std::min(records[2].size(), left.size())), left) << records[2];
    EXPECT_EQ(records[3], "2 of 3 programs uninstalled");
    EXPECT_EQ(view.statusText, "Ready...");
}

TEST_F(QueueRunTest, TheQuietCommandRunsInsteadOfTheOrdinaryOne)
{
    Entry("QuilletQuiet", "Quiet one", " exit 5");  // the ordinary one would leave the entry
    SetText("QuilletQuiet", "QuietUninstallString", Console() + " uninstall QuilletQuiet");
    Select({"QuilletQuiet"});
    main.Job().RemoveQuietlyClick();
    EXPECT_EQ(runner.ApplicationName.substr(runner.ApplicationName.size() - 17), "qtest_console.exe");
    ASSERT_TRUE(RunToTheEnd());
    ASSERT_EQ(main.Log().Size(), 1u);
    EXPECT_EQ(main.Log().Records()[0].message, "Application \"Quiet one\" successfuly uninstalled.");
    EXPECT_EQ(main.Job().Queue().Size(), 0u);
}

}  // namespace
