#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/Fixture.h"

using namespace e2e;

namespace {

// A program of the X side (xdotool, ImageMagick's import) run to its end:
// the keys it types reach the program as a user's would.
bool RunUnix(const std::string& commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

bool XKey(const char* keys) { return RunUnix(std::string("Z:\\usr\\bin\\xdotool key --delay 80 ") + keys); }

class QueueTest : public QuilletTest {};

TEST_F(QueueTest, CtrlAThenAddRemoveQueuesTheRowsAndSumsUp)
{
    const std::string program = TestProgram("qtest_console.exe");
    SeedUninstallKey({{"kA", "A app", program + " uninstall kA 2500"},
                      {"kB", "B app", program + " exit 1602 300"},
                      {"kC", "C app", program + " uninstall kC 300"}});
    Quillet app;
    app.Start();
    ASSERT_TRUE(BringToFront(app));
    ASSERT_TRUE(FocusRow(app, 0));
    ASSERT_TRUE(XKey("ctrl+a Return"));
    HWND box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Confirm|Uninstall 3 programs, one after another?\n\n"
                               "3 of them cannot be removed quietly and will ask as usual.");
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"A app\" (1 of 3)"; }))
        << app.StatusText();
    // The screen as it stands, beside the program, for a person to look at.
    std::string shot = ExeDirectory();
    if (shot.rfind("Z:", 0) == 0) {
        shot = shot.substr(2) + "queue-screenshot.png";
        for (char& c : shot)
            if (c == '\\') c = '/';
        EXPECT_TRUE(RunUnix("Z:\\usr\\bin\\import -window root " + shot));
    }

    ASSERT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == 4; }, 30000)) << app.LogRowCount();
    EXPECT_EQ(app.LogText(3, 1), "Application \"A app\" successfuly uninstalled.");
    EXPECT_EQ(app.LogText(2, 1), "Application \"B app\" was not uninstalled.");
    EXPECT_EQ(app.LogText(2, 2), "Exit code: 1602");
    EXPECT_EQ(app.LogText(1, 1), "Application \"C app\" successfuly uninstalled.");
    EXPECT_EQ(app.LogText(0, 1), "2 of 3 programs uninstalled");
    EXPECT_EQ(app.StatusText(), "Ready...");
    EXPECT_EQ(app.RowCount(), 1);
}

}  // namespace
