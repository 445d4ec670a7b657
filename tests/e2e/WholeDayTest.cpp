// A whole day of use, as a user would spend it: one walk through the real
// program, checking after every step what the step should have changed and
// that nothing else did (the registry, the settings file, the backup file, the
// list, the log and the window).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

using Texts = std::vector<std::string>;

constexpr char kMark = '\xFE';  // splits a log line's message from its comment
const char* const kYesterday = "07.12.2026 17:30:00";
constexpr int kLogHeight = 102;

// A string value as the registry tree holds it: type, then the bytes with their terminator.
std::string Sz(const std::string& text) { return std::to_string(REG_SZ) + ":" + text + '\0'; }

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// One line per value, so that a failure shows what differs.
std::string Describe(const RegistryTree& tree)
{
    std::string out;
    for (const auto& [path, values] : tree) {
        out += "[" + path + "]\n";
        for (const auto& [name, data] : values) out += "  " + name + "=" + Printable(data) + "\n";
    }
    return out;
}

std::string EscapeForScript(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

// The names of a section's keys, or of the file's sections, in file order.
Texts ProfileNames(const char* section)
{
    std::string buffer(65536, '\0');
    const DWORD length =
        section ? GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                           Quillet::SettingsPath().c_str())
                : GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                 Quillet::SettingsPath().c_str());
    Texts names;
    for (size_t at = 0; at < length;) {
        const size_t end = buffer.find('\0', at);
        if (end == at) break;
        names.push_back(buffer.substr(at, end - at));
        at = end + 1;
    }
    return names;
}

class WholeDayTest : public QuilletTest {
protected:
    struct Row {
        std::string name, command, subkey;
        bool bad = false;
    };
    struct Record {
        std::string time;  // learnt from the window when the record appears
        std::string message, comment;
        bool freeSpace = false;  // the comment names the space an uninstaller freed
    };

    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        good_ = WindowsFile("notepad.exe");
        const std::string uninstaller = TestProgram("qtest_console.exe");
        rows_ = {
            {"Atlas Maps", good_ + " /atlas", "Atlas"},
            {"Beacon Mail", good_ + " /beacon", "BeaconMail"},
            {"Cobalt Editor", good_ + " /cobalt-7q", "Cobalt"},
            {"Dusty Old Tool", "C:\\Nowhere\\Dusty\\uninst.exe /x", "Dusty", true},
            {"Echo Player", "C:\\Nowhere\\echo.exe", "Echo", true},
            {"Fern Viewer", uninstaller + " uninstall Fern 300", "Fern"},
            {"Garnet Sync", uninstaller + " uninstall Garnet 300", "Garnet"},
        };
        std::vector<Entry> entries;
        for (const Row& r : rows_) entries.push_back({r.subkey, r.name, r.command});
        SeedUninstallKey(entries);
        SeedValue("Atlas", "DisplayVersion", "3.1");       // a value the program never touches
        SeedValue("BeaconMail\\Accounts", "Count", "2");    // below an entry: leaves with it
        SeedValue("Runtime.Component", "Version", "1.0");  // no name: listed nowhere, kept
        registry_ = ReadUninstallTree();
        ASSERT_EQ(registry_.count("BeaconMail\\Accounts"), 1u) << Describe(registry_);

        // Yesterday's settings: the details view and one record.
        ini_ = std::string("[View]\r\nViewType=3\r\n[Log]\r\n") + kYesterday +
               "=0;Shortcut for \"Old Friend\" application added." + kMark + "kept from yesterday\r\n";
        std::ofstream(Quillet::SettingsPath(), std::ios::binary) << ini_;
        log_ = {{kYesterday, "Shortcut for \"Old Friend\" application added.", "kept from yesterday"}};

        backupDir_ = ExeDirectory() + "Backup";
        SYSTEMTIME today;
        GetLocalTime(&today);
        char date[32];
        snprintf(date, sizeof date, "%d-%02d-%02d", today.wYear, today.wMonth, today.wDay);
        backupFile_ = backupDir_ + "\\Uninstall Backup " + date + ".reg";
        DeleteFileA(backupFile_.c_str());
        RemoveDirectoryA(backupDir_.c_str());
    }
    void TearDown() override
    {
        app_.reset();
        DeleteFileA(Quillet::SettingsPath().c_str());
        DeleteFileA(backupFile_.c_str());
        RemoveDirectoryA(backupDir_.c_str());
    }

    // ---- What the day expects

    // The model's rows in the list's order. The names and subkeys start with
    // different capitals, so every collation orders them alike.
    void SortModel()
    {
        std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
            const std::string& x = sortColumn_ == 0 ? a.name : sortColumn_ == 1 ? a.command : a.subkey;
            const std::string& y = sortColumn_ == 0 ? b.name : sortColumn_ == 1 ? b.command : b.subkey;
            return ascending_ ? x < y : y < x;
        });
    }
    int ModelRow(const std::string& subkey) const
    {
        for (size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].subkey == subkey) return static_cast<int>(i);
        return -1;
    }
    Texts ModelColumn(int column) const
    {
        Texts texts;
        for (const Row& r : rows_) texts.push_back(column == 0 ? r.name : column == 1 ? r.command : r.subkey);
        return texts;
    }
    void ForgetEntry(const std::string& subkey)
    {
        rows_.erase(rows_.begin() + ModelRow(subkey));
        for (auto it = registry_.begin(); it != registry_.end();)
            it = it->first == subkey || it->first.rfind(subkey + "\\", 0) == 0 ? registry_.erase(it) : std::next(it);
    }
    void Recorded(const std::string& message, bool freeSpace = false)
    {
        log_.insert(log_.begin(), Record{"", message, "", freeSpace});
    }

    // ---- The check after every step: everything the user could look at.
    void CheckTheDay(const std::string& step)
    {
        SCOPED_TRACE("after: " + step);
        Quillet& app = *app_;
        EXPECT_EQ(Describe(ReadUninstallTree()), Describe(registry_));
        EXPECT_EQ(Printable(ReadFileBytes(Quillet::SettingsPath())), Printable(ini_));
        if (backupText_.empty()) {
            EXPECT_FALSE(FileExists(backupFile_)) << backupFile_;
        } else {
            EXPECT_EQ(ReadFileBytes(backupFile_), backupText_);
        }

        EXPECT_EQ(IsWindowVisible(app.Window()) != FALSE, !hidden_);
        EXPECT_EQ(TaskbarWindows(app).size(), hidden_ ? 0u : 1u);
        if (!hidden_) {
            // The log pane keeps its height (the design's; the user never drags the splitter).
            RECT log;
            GetWindowRect(app.Child(IDC_LOG), &log);
            EXPECT_EQ(log.bottom - log.top, kLogHeight);
        }
        EXPECT_EQ(app.StatusText(), "Ready...");
        EXPECT_EQ(app.WaitForMessageBox(0), nullptr) << "a box is open: " << DialogText(app.WaitForMessageBox(0));
        EXPECT_EQ(app.Column(0), ModelColumn(0));
        EXPECT_EQ(app.Column(1), ModelColumn(1));
        EXPECT_EQ(app.Column(2), ModelColumn(2));
        const auto bad = std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.bad; });
        EXPECT_EQ(app.StatusPanel(1),
                  "Shortcuts / Bad shortcuts: " + std::to_string(rows_.size()) + " / " + std::to_string(bad));
        EXPECT_EQ(ArrowColumn(app), sortColumn_);

        ASSERT_EQ(app.LogRowCount(), static_cast<int>(log_.size()));
        for (size_t i = 0; i < log_.size(); ++i) {
            Record& r = log_[i];
            const int row = static_cast<int>(i);
            EXPECT_EQ(app.LogText(row, 1), r.message) << "log row " << row;
            const std::string comment = app.LogText(row, 2);
            if (r.freeSpace) {
                EXPECT_EQ(comment.rfind("Probably ", 0), 0u) << comment;
                EXPECT_EQ(comment.substr(comment.size() - 3), " MB") << comment;
                if (r.comment.empty()) r.comment = comment;
            }
            EXPECT_EQ(comment, r.comment) << "log row " << row;
            // A record keeps the time it was given.
            if (r.time.empty()) r.time = app.LogText(row, 0);
            EXPECT_FALSE(r.time.empty());
            EXPECT_EQ(app.LogText(row, 0), r.time) << "log row " << row;
        }
    }

    // ---- The day's steps

    void StartTheDay()
    {
        app_ = std::make_unique<Quillet>();
        app_->KeepSettings = true;
        app_->Start();
        CheckTheDay("start");
        EXPECT_EQ(GetWindowLongA(app_->Child(IDC_PROGRAMS), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        // The user puts the window where it suits; nothing is written yet.
        SetWindowPos(app_->Window(), nullptr, 60, 40, 720, 540, SWP_NOZORDER | SWP_NOACTIVATE);
        CheckTheDay("moving the window");
    }

    void SortBySubkeyDescending()
    {
        Quillet& app = *app_;
        app.ClickHeader(2);
        sortColumn_ = 2;
        SortModel();
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.Column(2) == ModelColumn(2); })) << app.RowText(0, 2);
        CheckTheDay("sorting by subkey");
        const int up = app.HeaderImage(2).second;

        app.ClickHeader(2);
        ascending_ = false;
        SortModel();
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.Column(2) == ModelColumn(2); })) << app.RowText(0, 2);
        EXPECT_NE(app.HeaderImage(2).second, up) << "the arrow did not turn";
        CheckTheDay("reversing the order");
    }

    void FindByCommandText()
    {
        Quillet& app = *app_;
        PostCommand(app, IDM_FIND);
        HWND find = WaitForDialog(app, "Find Text");
        ASSERT_NE(find, nullptr);
        SetControlText(GetDlgItem(find, IDC_FINDEDIT), "COBALT-7Q");
        PostMessageA(find, WM_COMMAND, IDOK, 0);
        const int cobalt = ModelRow("Cobalt");
        EXPECT_TRUE(Quillet::WaitFor([&] { return app.FocusedRow() == cobalt; })) << app.FocusedRow();
        EXPECT_TRUE(ListView_GetItemState(app.Child(IDC_PROGRAMS), cobalt, LVIS_SELECTED) & LVIS_SELECTED);
        ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(find); }));
        CheckTheDay("finding a text");
    }

    void CreateAnEntry()
    {
        Quillet& app = *app_;
        PostCommand(app, IDM_NEW);
        HWND dialog = WaitForDialog(app, "New shortcut");
        ASSERT_NE(dialog, nullptr);
        SetControlText(GetDlgItem(dialog, IDC_PROP_DISPLAY), "Harbor Notes");
        SetControlText(GetDlgItem(dialog, IDC_PROP_UNINSTALL), good_ + " /harbor");
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

        rows_.push_back({"Harbor Notes", good_ + " /harbor", "Harbor_Notes"});
        SortModel();
        registry_["Harbor_Notes"] = {{"DisplayName", Sz("Harbor Notes")}, {"UninstallString", Sz(good_ + " /harbor")}};
        Recorded("Shortcut for \"Harbor Notes\" application added.");
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == static_cast<int>(rows_.size()); }));
        EXPECT_EQ(app.FocusedRow(), ModelRow("Harbor_Notes"));
        CheckTheDay("creating an entry");
    }

    void EditTheNewEntry()
    {
        Quillet& app = *app_;
        const int row = ModelRow("Harbor_Notes");
        ASSERT_EQ(app.FocusedRow(), row);
        PostCommand(app, IDM_PROPERTIES);
        HWND dialog = WaitForDialog(app, "\"Harbor Notes\" properties");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_PROP_DISPLAY)), "Harbor Notes");
        EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_PROP_UNINSTALL)), good_ + " /harbor");
        SetControlText(GetDlgItem(dialog, IDC_PROP_DISPLAY), "Harbor Notes Pro");
        SetControlText(GetDlgItem(dialog, IDC_PROP_UNINSTALL), good_ + " /harbor2");
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

        rows_[row].name = "Harbor Notes Pro";
        rows_[row].command = good_ + " /harbor2";
        registry_["Harbor_Notes"] = {{"DisplayName", Sz("Harbor Notes Pro")},
                                     {"UninstallString", Sz(good_ + " /harbor2")}};
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowText(row, 1) == rows_[row].command; })) << app.RowText(row, 1);
        CheckTheDay("editing the new entry");
    }

    void DeleteAnEntry()
    {
        Quillet& app = *app_;
        ASSERT_TRUE(FocusRow(app, ModelRow("BeaconMail"))) << app.FocusedRow();
        app.PressKey(VK_DELETE);
        HWND box = WaitForDialog(app, "Confirm");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(DialogText(box), "Confirm|Are you really want to delete shortcut to uninstall \"Beacon Mail\" "
                                   "application?");
        PostMessageA(box, WM_COMMAND, IDYES, 0);

        ForgetEntry("BeaconMail");
        Recorded("Uninstall shortcut for \"Beacon Mail\" application deleted!");
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == static_cast<int>(rows_.size()); }));
        CheckTheDay("deleting an entry");
    }

    void DeleteTheBadOnes()
    {
        Quillet& app = *app_;
        PostCommand(app, IDM_DELETEBAD);
        HWND box = WaitForDialog(app, "Confirm");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(DialogText(box), "Confirm|Are you sure want to delete 2 bad shortcut(s)?");
        PostMessageA(box, WM_COMMAND, IDYES, 0);

        // From the top of the list down, one record each.
        for (const Row& r : std::vector<Row>(rows_))
            if (r.bad) {
                Recorded("Uninstall shortcut for \"" + r.name + "\" application deleted!");
                ForgetEntry(r.subkey);
            }
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == static_cast<int>(rows_.size()); }));
        CheckTheDay("deleting the bad entries");
    }

    void BackUp()
    {
        Quillet& app = *app_;
        PostCommand(app, IDM_BACKUP);
        HWND save = app.WaitForMessageBox();
        ASSERT_NE(save, nullptr);
        HWND name = GetDlgItem(save, 0x47c);  // the file name box (cmb13, or edt1 in older dialogs)
        if (!name) name = GetDlgItem(save, 0x480);
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(ControlText(name), backupFile_.substr(backupDir_.size() + 1));
        PostMessageA(save, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindow(save); }));
        HWND box = app.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(DialogText(box), "Information|Backup information will be stored into \"" + backupFile_ +
                                       "\" file and can be restored by double clicking on this file or importing "
                                       "into Registry Editor.");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindow(box); }));

        // Every listed entry, in the registry's own order, from the registry as it stands.
        const std::string section = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
        backupText_ = "REGEDIT4\r\n\r\n" + section + "]\r\n";
        for (const std::string& subkey : UninstallSubkeys()) {
            const int row = ModelRow(subkey);
            if (row < 0) continue;
            backupText_ += "\r\n" + section + "\\" + subkey + "]\r\n\"DisplayName\"=\"" +
                           EscapeForScript(rows_[row].name) + "\"\r\n\"UninstallString\"=\"" +
                           EscapeForScript(rows_[row].command) + "\"\r\n";
        }
        backupText_ += EmptyBackupSection32();
        const std::string written = ReadFileBytes(backupFile_);
        EXPECT_EQ(written.rfind("REGEDIT4\r\n\r\n" + section + "]\r\n", 0), 0u) << written;
        for (const char* present : {"\\Atlas]", "\\Cobalt]", "\\Fern]", "\\Garnet]", "\\Harbor_Notes]",
                                    "\"DisplayName\"=\"Harbor Notes Pro\""})
            EXPECT_NE(written.find(present), std::string::npos) << present;
        for (const char* absent : {"BeaconMail", "Dusty", "Echo", "Runtime.Component", "DisplayVersion"})
            EXPECT_EQ(written.find(absent), std::string::npos) << absent;
        CheckTheDay("backing up");
    }

    void UninstallWithTheButton()
    {
        Quillet& app = *app_;
        // The deletes took the focus along; the row picked now can be uninstalled.
        ASSERT_TRUE(FocusRow(app, ModelRow("Fern"))) << app.FocusedRow();
        EXPECT_TRUE(SendMessageA(app.Child(IDC_TOOLBAR), TB_ISBUTTONENABLED, IDM_ADDREMOVE, 0))
            << "Add/Remove stays off";
        app.PressKey(VK_RETURN);
        EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Fern Viewer\""; }))
            << app.StatusText();
        ForgetEntry("Fern");
        Recorded("Application \"Fern Viewer\" successfuly uninstalled.", true);
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == static_cast<int>(log_.size()); }, 20000));
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Ready..."; }));
        CheckTheDay("uninstalling an entry");
    }

    void MinimiseAndUninstallFromTheTray()
    {
        Quillet& app = *app_;
        SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(app.Window()); })) << "the window still shows";
        hidden_ = true;
        EXPECT_TRUE(IsIconic(app.AppWindow()));
        CheckTheDay("minimising to the notification area");

        // "Uninstall", into its submenu, down to the entry's item.
        const int garnet = ModelRow("Garnet");
        ASSERT_GE(garnet, 0);
        std::vector<WORD> keys{VK_DOWN, VK_RIGHT};
        keys.insert(keys.end(), garnet, VK_DOWN);
        keys.push_back(VK_RETURN);
        ASSERT_TRUE(TrayMenuKeys(app, keys)) << "no menu opened";

        // Hidden, the user learns the outcome from a box.
        HWND box = app.WaitForMessageBox(20000);
        ASSERT_NE(box, nullptr) << "status: " << app.StatusText() << ", log rows: " << app.LogRowCount()
                                << ", menu open: " << (FindWindowA("#32768", nullptr) != nullptr);
        EXPECT_EQ(DialogText(box), "Information|Application \"Garnet Sync\" successfuly uninstalled.");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindow(box); }));
        ForgetEntry("Garnet");
        Recorded("Application \"Garnet Sync\" successfuly uninstalled.", true);
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Ready..."; }));
        CheckTheDay("uninstalling from the notification area");
    }

    void CloseFromTheTray()
    {
        Quillet& app = *app_;
        // "Uninstall", "&Backup...", "E&xit".
        ASSERT_TRUE(TrayMenuKeys(app, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})) << "no menu opened";
        ASSERT_TRUE(app.Exited(15000)) << "still running";
        EXPECT_EQ(Describe(ReadUninstallTree()), Describe(registry_));
        EXPECT_EQ(ReadFileBytes(backupFile_), backupText_);

        // The settings file as the close writes it.
        EXPECT_EQ(ProfileNames(nullptr), (Texts{"View", "Main", "Log"}));
        EXPECT_EQ(ProfileNames("View"),
                  (Texts{"ViewType", "ToolBar", "Log", "StatusBar", "TextLabels", "SystemEntries", "SortOn", "Ascending"}));
        const std::string screen = "(" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                                   std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ")";
        Texts main{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" + screen, "MinMaxPos",
                   "NormPos" + screen, "NormPos", "Visible", "LogHeight", "TimeWidth", "CommentWidth",
                   "NameWidth", "CmdLiNeWidth", "SubKeyWidth", "PlatformWidth", "PublisherWidth", "VersionWidth",
                   "InstalledWidth", "SizeWidth", "BackupDir"};
        EXPECT_EQ(ProfileNames("Main"), main);
        EXPECT_EQ(Ini("Main", "NormPos"), "60,40,780,580");
        EXPECT_EQ(Ini("Main", ("NormPos" + screen).c_str()), "60,40,780,580");
        EXPECT_EQ(Ini("Main", "ShowCmd"), "2");  // closed from the notification area: minimised
        EXPECT_EQ(Ini("Main", "Visible"), "0");
        EXPECT_EQ(Ini("Main", "BackupDir"), backupDir_ + "\\");
        // The sizes as designed: the user changed none of them.
        EXPECT_EQ(Ini("Main", "LogHeight"), std::to_string(kLogHeight));
        EXPECT_EQ(Ini("Main", "TimeWidth"), "150");
        EXPECT_EQ(Ini("Main", "CommentWidth"), "250");
        EXPECT_EQ(Ini("Main", "NameWidth"), "200");
        EXPECT_EQ(Ini("Main", "CmdLiNeWidth"), "200");
        EXPECT_EQ(Ini("Main", "SubKeyWidth"), "120");
        EXPECT_EQ(Ini("View", "ViewType"), "3");
        EXPECT_EQ(Ini("View", "SortOn"), "2");
        EXPECT_EQ(Ini("View", "Ascending"), "0");
        for (const char* on : {"ToolBar", "Log", "StatusBar", "TextLabels"}) EXPECT_EQ(Ini("View", on), "1") << on;
        std::string logSection = "[Log]\r\n";
        for (const Record& r : log_) logSection += r.time + "=0;" + r.message + kMark + r.comment + "\r\n";
        ini_ = ReadFileBytes(Quillet::SettingsPath());
        ASSERT_GE(ini_.size(), logSection.size());
        EXPECT_EQ(Printable(ini_.substr(ini_.size() - logSection.size())), Printable(logSection));
    }

    void StartAgain()
    {
        app_ = std::make_unique<Quillet>();
        app_->KeepSettings = true;
        app_->Start();
        hidden_ = false;
        Quillet& app = *app_;
        RECT r;
        GetWindowRect(app.Window(), &r);
        EXPECT_EQ(r.left, 60);
        EXPECT_EQ(r.top, 40);
        EXPECT_EQ(r.right, 780);
        EXPECT_EQ(r.bottom, 580);
        EXPECT_FALSE(IsIconic(app.AppWindow()));
        EXPECT_TRUE(IsWindowVisible(app.Window()));
        EXPECT_NE(TrayWindow(app), nullptr);
        EXPECT_EQ(GetWindowLongA(app.Child(IDC_PROGRAMS), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        // The sort, the rows and every record with its time come back; starting writes nothing.
        CheckTheDay("starting again");
    }

    std::unique_ptr<Quillet> app_;
    std::string good_;
    std::vector<Row> rows_;  // in the list's order
    std::vector<Record> log_;  // newest first
    RegistryTree registry_;
    std::string ini_;
    std::string backupDir_, backupFile_, backupText_;
    int sortColumn_ = 0;
    bool ascending_ = true;
    bool hidden_ = false;
};

TEST_F(WholeDayTest, FromMorningToTheNextStart)
{
    ASSERT_NO_FATAL_FAILURE(StartTheDay());
    ASSERT_NO_FATAL_FAILURE(SortBySubkeyDescending());
    ASSERT_NO_FATAL_FAILURE(FindByCommandText());
    ASSERT_NO_FATAL_FAILURE(CreateAnEntry());
    ASSERT_NO_FATAL_FAILURE(EditTheNewEntry());
    ASSERT_NO_FATAL_FAILURE(DeleteAnEntry());
    ASSERT_NO_FATAL_FAILURE(DeleteTheBadOnes());
    ASSERT_NO_FATAL_FAILURE(BackUp());
    ASSERT_NO_FATAL_FAILURE(UninstallWithTheButton());
    ASSERT_NO_FATAL_FAILURE(MinimiseAndUninstallFromTheTray());
    ASSERT_NO_FATAL_FAILURE(CloseFromTheTray());
    ASSERT_NO_FATAL_FAILURE(StartAgain());
}

}  // namespace
