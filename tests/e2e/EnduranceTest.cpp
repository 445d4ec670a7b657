// Long runs against the real program: many uninstall jobs, many rows, a full
// log, and a settings file that is damaged between runs.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

// ---- What the program holds, seen from outside

// Wine answers GetProcessHandleCount (and ProcessHandleCount) with 0, but its
// system handle table lists every handle with its owner.
struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT backTrace;
    USHORT typeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

long HandleCount(DWORD processId)
{
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    // Through the generic function type: the entry's real type is Query.
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const LONG status =
            query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(needed + 4096, buffer.size() * 2));
            continue;
        }
        if (status != 0) return -1;
        break;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i)
        if (table->entries[i].processId == processId) ++count;
    return count;
}

// Private (committed, not shared) bytes; under Wine the anonymous resident
// and swapped memory of the process.
long long PrivateBytes(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return -1;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    const BOOL ok =
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    CloseHandle(process);
    // The same figure as PrivateUsage on Windows; Wine fills only this one
    // for another process.
    return ok ? static_cast<long long>(std::max(counters.PrivateUsage, counters.PagefileUsage)) : -1;
}

struct Usage {
    long handles;
    long long privateBytes;
};

Usage Measure(const Quillet& app)
{
    // Settled: the window has served everything sent before.
    SendMessageA(app.Window(), WM_NULL, 0, 0);
    return {HandleCount(app.ProcessId()), PrivateBytes(app.ProcessId())};
}

void Report(const char* when, const Usage& usage)
{
    ::testing::Test::RecordProperty(std::string(when) + "Handles", static_cast<int>(usage.handles));
    ::testing::Test::RecordProperty(std::string(when) + "PrivateKiB", static_cast<int>(usage.privateBytes / 1024));
    std::printf("[ usage    ] %-8s handles %ld, private memory %lld KiB\n", when, usage.handles,
                usage.privateBytes / 1024);
    std::fflush(stdout);
}

// ---- Registry and settings file

std::set<std::string> Subkeys()
{
    std::set<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.insert(name);
    }
    RegCloseKey(key);
    return names;
}

std::string FileBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary) << bytes;
}

// The [Log] lines of the settings file, in file order.
std::vector<std::string> LogLines()
{
    std::vector<char> buffer(1 << 20);
    const DWORD length = GetPrivateProfileSectionA("Log", buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   Quillet::SettingsPath().c_str());
    std::vector<std::string> lines;
    for (DWORD at = 0; at < length && buffer[at];) {
        lines.emplace_back(&buffer[at]);
        at += static_cast<DWORD>(lines.back().size()) + 1;
    }
    return lines;
}

std::string Numbered(const char* format, int n)
{
    char text[64];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

class EnduranceTest : public QuilletTest {
protected:
    void TearDown() override
    {
        SetFileAttributesA(Quillet::SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(Quillet::SettingsPath().c_str());
    }
    static void CloseAndWait(Quillet& app)
    {
        app.Close();
        ASSERT_TRUE(app.Exited(30000));
    }
};

// ---- 200 uninstall jobs

// Runs one job on the first row (an uninstaller that removes its entry) or
// on the last (one that leaves it) and returns once the job's end is handled.
void RunJob(const Quillet& app, bool removing, int job)
{
    const int rows = app.RowCount();
    const int row = removing ? 0 : rows - 1;
    app.PressKey(removing ? VK_HOME : VK_END);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.FocusedRow() == row; })) << "job " << job;
    ASSERT_EQ(app.RowText(row, 0).rfind(removing ? "A remove" : "Z stays", 0), 0u) << "job " << job;
    const int logRows = app.LogRowCount();
    // Sent, so the job has started when it returns.
    app.Command(IDM_ADDREMOVE);
    // The job's end is handled once Add/Remove is enabled again: its last
    // step. (The window answers messages during the handler, while it talks
    // to the notification area, so an answer alone proves nothing.)
    HWND toolbar = app.Child(IDC_TOOLBAR);
    ASSERT_TRUE(Quillet::WaitFor([&] {
        return app.StatusText() == "Ready..." && SendMessageA(toolbar, TB_ISBUTTONENABLED, IDM_ADDREMOVE, 0) != 0;
    }, 20000)) << "job " << job;
    ASSERT_EQ(app.RowCount(), removing ? rows - 1 : rows) << "job " << job;
    // Every job is recorded: a removal as a success, one that left its
    // entry as not uninstalled.
    ASSERT_EQ(app.LogRowCount(), logRows + 1)
        << "job " << job << ", newest record: " << app.LogText(0, 1) << " " << app.LogText(0, 2);
}

TEST_F(EnduranceTest, TwoHundredUninstallJobsLeaveHandlesAndMemoryFlat)
{
    // 1,050 entries at the start, 950 at the end.
    constexpr int kJobs = 200, kWarmUp = 20, kRemovers = kJobs / 2, kFillers = 949;
    std::vector<Entry> entries;
    // Console programs: under Wine each WaitForInputIdle on a window program
    // leaves a handle open in the caller (about two per job here), which
    // would hide the program's own handles.
    const std::string program = TestProgram("qtest_console.exe");
    for (int i = 0; i < kRemovers; ++i)
        entries.push_back({Numbered("rm%03d", i), Numbered("A remove %03d", i),
                           program + " uninstall " + Numbered("rm%03d", i)});
    for (int i = 0; i < kFillers; ++i)
        entries.push_back({Numbered("f%04d", i), Numbered("M filler %04d", i),
                           i % 10 == 9 ? Numbered("C:\\gone\\f%04d.exe", i)
                                       : WindowsFile("notepad.exe") + Numbered(" /f %04d", i)});
    entries.push_back({"stays", "Z stays", program + " exit 0"});
    SeedUninstallKey(entries);

    Quillet app;
    app.Start();
    ASSERT_EQ(app.RowCount(), kRemovers + kFillers + 1);
    const Usage start = Measure(app);
    Report("start", start);
    ASSERT_GT(start.handles, 0) << "no handle count for the process";
    ASSERT_GT(start.privateBytes, 0) << "no memory figure for the process";

    Usage warm{};
    for (int job = 0; job < kJobs; ++job) {
        RunJob(app, job % 2 == 0, job);
        if (HasFatalFailure()) return;
        if (job + 1 == kWarmUp) {
            warm = Measure(app);
            Report("warm-up", warm);
        }
    }
    const Usage end = Measure(app);
    Report("end", end);

    EXPECT_EQ(app.RowCount(), kFillers + 1);
    EXPECT_EQ(app.LogRowCount(), kJobs);
    EXPECT_EQ(app.LogText(0, 1), "Application \"Z stays\" was not uninstalled.");
    EXPECT_EQ(app.LogText(1, 1), "Application \"A remove 099\" successfuly uninstalled.");
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 950 / 94");
    // One handle kept per job would add 180.
    EXPECT_LE(end.handles, warm.handles + 10) << "warm-up " << warm.handles << ", end " << end.handles;
    // The rows of one reload alone take about 100 KiB: kept per job, 18 MiB.
    EXPECT_LE(end.privateBytes, warm.privateBytes + 4 * 1024 * 1024)
        << "warm-up " << warm.privateBytes << ", end " << end.privateBytes;
    CloseAndWait(app);
}

// ---- 10,000 rows: Find, Delete bad, a full log

TEST_F(EnduranceTest, TenThousandRowsFindThenDeleteBadWithTheLogAtItsCap)
{
    constexpr int kRows = 10000, kCap = 999;
    // Every fifth entry points at nothing: 2,000 bad ones among 10,000.
    const auto bad = [](int i) { return i % 5 == 4; };
    std::vector<Entry> entries;
    const std::string good = WindowsFile("notepad.exe");
    for (int i = 0; i < kRows; ++i)
        entries.push_back({Numbered("k%05d", i), Numbered("Entry %05d", i),
                           bad(i) ? Numbered("C:\\gone\\app%05d.exe", i) : good + Numbered(" /e%05d", i)});
    SeedUninstallKey(entries);
    // A log at its cap, oldest last.
    std::string ini = "[View]\r\nViewType=3\r\n[Log]\r\n";
    for (int i = 0; i < kCap; ++i)
        ini += Numbered("01.01.2020 10:%02d:", i / 60) + Numbered("%02d=0;", i % 60) + Numbered("Seeded %03d", i) +
               "\xFE\r\n";
    WriteBytes(Quillet::SettingsPath(), ini);

    Quillet app;
    app.KeepSettings = true;
    app.Start();
    ASSERT_EQ(app.RowCount(), kRows);
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 10000 / 2000");
    ASSERT_EQ(app.LogRowCount(), kCap);
    EXPECT_EQ(app.LogText(0, 1), "Seeded 000");
    EXPECT_EQ(app.LogText(kCap - 1, 1), "Seeded 998");

    // Find: one hit deep in the list is focused; an absent text is named.
    const auto find = [&](const char* text) {
        PostMessageA(app.Window(), WM_COMMAND, IDM_FIND, 0);
        HWND dialog = WaitForDialog(app, "Find Text");
        if (!dialog) return false;
        SendDlgItemMessageA(dialog, IDC_SEARCHSHORTCUTS, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDC_FINDEDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return Quillet::WaitFor([&] { return !IsWindowVisible(dialog); });
    };
    ASSERT_TRUE(find("/E07321"));
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.FocusedRow() == 7321; })) << app.FocusedRow();
    EXPECT_EQ(app.RowText(7321, 2), "k07321");
    EXPECT_EQ(app.WaitForMessageBox(300), nullptr);
    ASSERT_TRUE(find("Entry 1234"));
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Information|Search string \"entry 1234\" not found!");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindow(box); }));
    EXPECT_EQ(app.FocusedRow(), 7321);

    // Delete bad: 2,000 deletions, each one a record added to a full log.
    PostMessageA(app.Window(), WM_COMMAND, IDM_DELETEBAD, 0);
    box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Confirm|Are you sure want to delete 2000 bad shortcut(s)?");
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == kRows - 2000; }, 120000)) << app.RowCount();
    SendMessageA(app.Window(), WM_NULL, 0, 0);
    EXPECT_EQ(app.WaitForMessageBox(300), nullptr) << DialogText(app.WaitForMessageBox(0));
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 8000 / 0");
    std::set<std::string> expected;
    for (int i = 0; i < kRows; ++i)
        if (!bad(i)) expected.insert(Numbered("k%05d", i));
    EXPECT_TRUE(Subkeys() == expected) << Subkeys().size() << " subkeys left";
    for (int row : {0, 3999, 7999})  // rows moved up in order: row r is the r-th good entry
        EXPECT_EQ(app.RowText(row, 0), Numbered("Entry %05d", row / 4 * 5 + row % 4));
    ASSERT_EQ(app.LogRowCount(), kCap);
    // Deleted top to bottom: the newest record is the last bad entry's.
    EXPECT_EQ(app.LogText(0, 1), "Uninstall shortcut for \"Entry 09999\" application deleted!");

    CloseAndWait(app);
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kCap));
    // The newest 999 of the 2,000 records: bad entries 1,999 down to 1,001.
    for (int line = 0; line < kCap; ++line) {
        const int entry = (1999 - line) * 5 + 4;
        const std::string value = lines[line].substr(lines[line].find('=') + 1);
        ASSERT_EQ(value, "0;Uninstall shortcut for \"" + Numbered("Entry %05d", entry) + "\" application deleted!\xFE")
            << "line " << line;
    }
}

// ---- The settings file damaged between runs

TEST_F(EnduranceTest, SettingsFileReadOnlyDeletedOrRandomBetweenRuns)
{
    const std::string good = WindowsFile("notepad.exe");
    SeedUninstallKey({{"k1", "Alpha", good}, {"k2", "Beta", "C:\\gone\\beta.exe"}, {"k3", "Gamma", good + " /g"}});
    const std::set<std::string> subkeys = Subkeys();
    ASSERT_EQ(subkeys.size(), 3u);
    const std::string file = Quillet::SettingsPath();
    const auto run = [&](const std::function<void(Quillet&)>& use) {
        Quillet app;
        app.KeepSettings = true;
        app.Start();
        EXPECT_EQ(app.WaitForMessageBox(300), nullptr) << "at start: " << DialogText(app.WaitForMessageBox(0));
        EXPECT_EQ(app.RowCount(), 3);
        EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 3 / 1");
        use(app);
    };
    const auto closes = [](Quillet& app) {
        app.Close();
        EXPECT_TRUE(app.Exited(30000)) << "a box: " << DialogText(app.WaitForMessageBox(500));
    };

    // A first run leaves a file with a record and the list view.
    WriteBytes(file, "[Log]\r\n01.01.2020 10:00:00=0;Kept record\xFE" "comment\r\n");
    run([&](Quillet& app) {
        EXPECT_EQ(app.LogText(0, 1), "Kept record");
        app.Command(IDM_LIST);
        closes(app);
    });
    const std::string written = FileBytes(file);
    ASSERT_EQ(Ini("View", "ViewType"), "2");

    // Read-only: read as usual; the close's write fails, is shown once, and
    // the file stays as it was.
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    run([&](Quillet& app) {
        EXPECT_EQ(GetWindowLongA(app.Child(IDC_PROGRAMS), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
        EXPECT_EQ(app.LogText(0, 1), "Kept record");
        app.Command(IDM_DETAILS);
        app.Close();
        HWND box = app.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(DialogText(box), "Quillet|Unable to write to " + file + ".");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(app.Exited(30000)) << "a second box: " << DialogText(app.WaitForMessageBox(500));
    });
    EXPECT_TRUE(FileBytes(file) == written) << FileBytes(file);
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL));

    // Deleted: defaults, nothing to say; the close makes the file anew.
    ASSERT_TRUE(DeleteFileA(file.c_str()));
    run([&](Quillet& app) {
        EXPECT_EQ(app.LogRowCount(), 0);
        EXPECT_EQ(GetWindowLongA(app.Child(IDC_PROGRAMS), GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);
        app.Command(IDM_SMALLICONS);
        closes(app);
    });
    EXPECT_EQ(Ini("View", "ViewType"), "1");
    EXPECT_EQ(Ini("Main", "NameWidth"), "200");

    // A mebibyte of random bytes: nothing in it converts, so every key has
    // its default; a normal close writes a good file again.
    std::mt19937 random(20261208);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);
    WriteBytes(file, noise);
    run([&](Quillet& app) {
        EXPECT_EQ(GetWindowLongA(app.Child(IDC_PROGRAMS), GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);
        app.Command(IDM_DETAILS);
        app.Command(IDM_SORTCOMMAND);
        SetWindowPos(app.Window(), nullptr, 60, 50, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
        closes(app);
    });
    EXPECT_EQ(Ini("View", "ViewType"), "3");
    EXPECT_EQ(Ini("View", "SortOn"), "1");
    EXPECT_EQ(Ini("Main", "NormPos"), "60,50,700,530");
    run([&](Quillet& app) {
        EXPECT_EQ(GetWindowLongA(app.Child(IDC_PROGRAMS), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_EQ(app.Column(2), (std::vector<std::string>{"k2", "k1", "k3"}));
        RECT r;
        GetWindowRect(app.Window(), &r);
        EXPECT_EQ(r.left, 60);
        EXPECT_EQ(r.bottom, 530);
        closes(app);
    });
    EXPECT_TRUE(Subkeys() == subkeys);
}

}  // namespace
