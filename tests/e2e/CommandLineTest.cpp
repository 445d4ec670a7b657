#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/Fixture.h"

using namespace e2e;

namespace {

struct Outcome {
    long code = -1;  // -1: still running after the time allowed
    std::string out, err;
};

// Starts Quillet.exe with these arguments, its standard output and error
// into files, as a remote shell would take them.
Outcome RunQuillet(const std::string& arguments)
{
    const std::string dir = ExeDirectory();
    const std::string outFile = dir + "cli-out.txt", errFile = dir + "cli-err.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileA(errFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::string command = "\"" + dir + "Quillet.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    Outcome outcome;
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            outcome.code = static_cast<long>(code);
        } else {
            TerminateProcess(process.hProcess, 99);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    outcome.out = ReadFileBytes(outFile);
    outcome.err = ReadFileBytes(errFile);
    DeleteFileA(outFile.c_str());
    DeleteFileA(errFile.c_str());
    return outcome;
}

class CommandLineTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        const std::string notepad = WindowsFile("notepad.exe");
        SeedUninstallKey({{"c1", "Kept One", notepad + " /a"},
                          {"c2", "Gone Two", "C:\\Gone\\Nowhere\\u.exe"},
                          {"c3", "Kept, Three", notepad + " /c"}});
    }

    std::vector<std::string> Rows(const Quillet& app)
    {
        std::vector<std::string> rows;
        for (int row = 0; row < app.RowCount(); ++row)
            rows.push_back(app.RowText(row, 0) + "|" + app.RowText(row, 1) + "|" + app.RowText(row, 2));
        return rows;
    }
};

TEST_F(CommandLineTest, ListBesideTheOpenWindowChangesNothingInIt)
{
    Quillet app;
    app.Start();
    const std::vector<std::string> rows = Rows(app);
    const int logRows = app.LogRowCount();
    const std::string status = app.StatusPanel(1);
    const std::string settings = ReadFileBytes(Quillet::SettingsPath());

    const Outcome list = RunQuillet("/list");
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.out.find("\"Kept, Three\","), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("Gone Two,C:\\Gone\\Nowhere\\u.exe,c2,"), std::string::npos);
    EXPECT_TRUE(list.err.empty()) << list.err;

    Sleep(500);  // a message it had sent would have arrived
    EXPECT_EQ(MainWindows().size(), 1u);
    EXPECT_EQ(Rows(app), rows);
    EXPECT_EQ(app.LogRowCount(), logRows);
    EXPECT_EQ(app.StatusPanel(1), status);
    EXPECT_EQ(ReadFileBytes(Quillet::SettingsPath()), settings);
    app.Close();
    EXPECT_TRUE(app.Exited(10000));
}

TEST_F(CommandLineTest, DeleteBadBesideTheOpenWindowHandsItTheRecords)
{
    Quillet app;
    app.Start();
    ASSERT_EQ(app.RowCount(), 3);
    const int logRows = app.LogRowCount();

    const Outcome run = RunQuillet("/delete-bad /yes");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_FALSE(KeyExists("c2"));
    // Its log has the record as its own, and its list follows.
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == logRows + 1; })) << app.LogRowCount();
    EXPECT_NE(app.LogText(0, 1).find("\"Gone Two\" application deleted"), std::string::npos) << app.LogText(0, 1);
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 2; }));
    app.Close();
    ASSERT_TRUE(app.Exited(10000));
    // Kept at its close with its own records.
    const std::string settings = ReadFileBytes(Quillet::SettingsPath());
    EXPECT_NE(settings.find("\"Gone Two\" application deleted"), std::string::npos) << settings;
}

TEST_F(CommandLineTest, ExitCodesAndErrorLines)
{
    struct Case {
        const char* arguments;
        long code;
    };
    for (const Case& c : {Case{"/?", 0}, Case{"/list /csv", 2}, Case{"/delete-bad /force", 2}, Case{"/backup", 2},
                          Case{"/undo C:\\no\\such\\file.reg", 1}, Case{"/backup C:\\no\\such\\dir\\b.reg", 1},
                          Case{"/delete-bad", 0}}) {
        const Outcome run = RunQuillet(c.arguments);
        EXPECT_EQ(run.code, c.code) << c.arguments << ": " << run.err;
        if (c.code) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.arguments << ": " << run.err;
            EXPECT_TRUE(run.out.empty()) << run.out;
        }
    }
    EXPECT_TRUE(KeyExists("c2"));  // without /yes nothing goes
    EXPECT_TRUE(MainWindows().empty());
}

}  // namespace
