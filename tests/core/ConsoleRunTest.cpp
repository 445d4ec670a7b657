#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "cli/ConsoleRun.h"
#include "fakes/CoreHarness.h"
#include "fakes/FakeAccounts.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kGood = "C:\\App\\good.exe";
const std::string kGone = "C:\\App\\gone.exe";
const std::string kChanges = "C:\\Q\\Backup\\Changes 2026-12-08.reg";
const std::string kSettings = "C:\\Q\\quillet.ini";

struct FakeConsole : ConsoleOutput {
    std::string out, err;
    void Out(const std::string& text) override { out += text; }
    void Err(const std::string& text) override { err += text; }
};

struct FakeWindow : RunningWindow {
    bool running = false;
    std::vector<std::string> received;
    bool TakeRecords(const std::string& lines) override
    {
        if (running) received.push_back(lines);
        return running;
    }
};

// Reads what the fake writer wrote.
struct FakeReader : FileReader {
    explicit FakeReader(FakeFileWriter& files) : files_(files) {}
    bool ReadAll(const std::string& path, std::string& bytes, std::string& error) override
    {
        const auto it = files_.files.find(path);
        if (it == files_.files.end()) error = "The system cannot find the file specified";
        else bytes = it->second;
        return it != files_.files.end();
    }
    FakeFileWriter& files_;
};

class ConsoleRunTest : public ::testing::Test, protected CoreFakes {
protected:
    ConsoleRunTest()
    {
        files.AddFile(kGood);
        Entry("a", "Alpha", kGood);
        Entry("x", "Bad One", kGone);
        Entry("y", "Bad, Two", kGone);
    }
    int Run(const std::vector<std::string>& arguments)
    {
        return RunConsole(ParseArguments(arguments),
                          {registry, files, locale, clock, writer, reader, profile, window, console, false,
                           "C:\\Q\\Quillet.exe", &accounts});
    }
    bool Has(const std::string& subkey) { return registry.Find(RootKey::LocalMachine, kKey + "\\" + subkey); }
    size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

    // The uninstall entries: every key, value, type and byte.
    std::string Dump(RootKey root = RootKey::LocalMachine, const std::string& hive = "")
    {
        std::function<std::string(FakeRegistry::Key&)> walk = [&](FakeRegistry::Key& key) {
            std::string out = "{";
            for (auto& [n, v] : key.values) out += n + ":" + std::to_string(v.type) + "=" + v.data + ";";
            std::map<std::string, std::string> children;
            for (auto& [n, child] : key.children) children[n] = walk(*child);
            for (auto& [n, text] : children) out += n + text;
            return out + "}";
        };
        auto* key = registry.Find(root, hive + kKey);
        return key ? walk(*key) : std::string();
    }

    FakeConsole console;
    FakeWindow window;
    FakeAccounts accounts;
    FakeReader reader{writer};
};

TEST_F(ConsoleRunTest, DeleteBadWithoutYesOnlyTells)
{
    EXPECT_EQ(Run({"/delete-bad"}), 0);
    EXPECT_TRUE(Has("x") && Has("y") && Has("a"));
    EXPECT_NE(console.out.find("Bad One\tx\t"), std::string::npos) << console.out;
    EXPECT_NE(console.out.find("Bad, Two\ty\t"), std::string::npos);
    EXPECT_EQ(console.out.find("Alpha"), std::string::npos);
    EXPECT_TRUE(writer.files.empty());
    EXPECT_TRUE(profile.lines.empty());
    EXPECT_TRUE(console.err.empty());
}

TEST_F(ConsoleRunTest, DeleteBadYesKeepsTheWayBackFirstAndLogsEachDeletion)
{
    profile.lines = {"[Log]", "08.12.2026 09:00:00=0;Older record\xC3\xBE"};
    EXPECT_EQ(Run({"/delete-bad", "/yes"}), 0) << console.err;
    EXPECT_FALSE(Has("x") || Has("y"));
    EXPECT_TRUE(Has("a"));
    const std::string& changes = writer.files[kChanges];
    EXPECT_NE(changes.find("; 2026-12-08 14:05:09 delete of 2 bad entries"), std::string::npos) << changes;
    EXPECT_NE(changes.find("[HKEY_LOCAL_MACHINE\\" + kKey + "\\x]\r\n\"DisplayName\"=\"Bad One\""), std::string::npos);
    EXPECT_NE(changes.find("[HKEY_LOCAL_MACHINE\\" + kKey + "\\y]"), std::string::npos);
    EXPECT_EQ(changes.find("\\a]"), std::string::npos);
    // The settings file's log: the two deletions on top, the older record kept below.
    const std::vector<std::string> log = profile.ReadSection(kSettings, "Log");
    ASSERT_EQ(log.size(), 3u) << profile.Text();
    EXPECT_NE(log[0].find("=0;Uninstall shortcut for \"Bad, Two\" application deleted!"), std::string::npos) << log[0];
    EXPECT_NE(log[1].find("\"Bad One\""), std::string::npos);
    EXPECT_NE(log[2].find("Older record"), std::string::npos);
    EXPECT_NE(console.out.find(kChanges), std::string::npos);
    EXPECT_TRUE(console.err.empty());
}

TEST_F(ConsoleRunTest, ARunningWindowGetsTheRecordsInsteadOfTheSettingsFile)
{
    window.running = true;
    EXPECT_EQ(Run({"/delete-bad", "/yes"}), 0);
    ASSERT_EQ(window.received.size(), 1u);
    const std::string& lines = window.received[0];
    EXPECT_EQ(Lines(lines), 2u);
    // Oldest first, as the window adds them on top one by one.
    EXPECT_LT(lines.find("\"Bad One\""), lines.find("\"Bad, Two\""));
    EXPECT_TRUE(profile.lines.empty());
}

TEST_F(ConsoleRunTest, AFailedDeletionIsOneErrorLineAndExitOne)
{
    registry.Protect("\\" + kKey + "\\x");
    EXPECT_EQ(Run({"/delete-bad", "/yes"}), 1);
    EXPECT_TRUE(Has("x"));
    EXPECT_FALSE(Has("y"));
    EXPECT_EQ(Lines(console.err), 1u);
    EXPECT_NE(console.err.find("\"Bad One\""), std::string::npos) << console.err;
    EXPECT_EQ(profile.ReadSection(kSettings, "Log").size(), 1u);
}

TEST_F(ConsoleRunTest, NoChangesFileNoDeletion)
{
    writer.readOnly.insert(kChanges);
    EXPECT_EQ(Run({"/delete-bad", "/yes"}), 1);
    EXPECT_TRUE(Has("x") && Has("y"));
    EXPECT_EQ(Lines(console.err), 1u);
    EXPECT_NE(console.err.find("Access denied"), std::string::npos) << console.err;
    EXPECT_TRUE(profile.lines.empty());
}

TEST_F(ConsoleRunTest, ListWritesTheTableAndNothingElse)
{
    EXPECT_EQ(Run({"/list", "/csv", "C:\\out.csv"}), 0);
    ASSERT_EQ(writer.files.size(), 1u);
    const std::string& csv = writer.files["C:\\out.csv"];
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBFName,", 0), 0u);
    EXPECT_EQ(Lines(csv), 4u);
    EXPECT_NE(csv.find("\"Bad, Two\",C:\\App\\gone.exe,y,HKEY_LOCAL_MACHINE,,,,,bad,"), std::string::npos) << csv;
    EXPECT_EQ(Run({"/list", "/json", "C:\\out.json"}), 0);
    EXPECT_NE(writer.files["C:\\out.json"].find("{\"name\": \"Alpha\""), std::string::npos);
    EXPECT_EQ(Run({"/list"}), 0);
    EXPECT_EQ(console.out.rfind("Name,Command,", 0), 0u);  // no byte-order mark on standard output
    EXPECT_TRUE(profile.lines.empty());
    EXPECT_TRUE(console.err.empty());
    EXPECT_TRUE(Has("x"));
}

TEST_F(ConsoleRunTest, WhatCannotBeDoneIsOneLineOnStandardError)
{
    struct Case {
        std::vector<std::string> arguments;
        int code;
    };
    writer.readOnly = {"C:\\locked.csv", "C:\\locked.reg"};
    for (const Case& c : std::vector<Case>{{{"/list", "/csv"}, 2},
                                           {{"/delete-bad", "/now"}, 2},
                                           {{"/list", "/csv", "/json"}, 2},
                                           {{"/list", "/csv", "C:\\locked.csv"}, 1},
                                           {{"/backup", "C:\\locked.reg"}, 1}}) {
        console.err.clear();
        EXPECT_EQ(Run(c.arguments), c.code) << c.arguments[0];
        EXPECT_EQ(Lines(console.err), 1u) << console.err;
    }
    EXPECT_TRUE(Has("x") && Has("y"));
    EXPECT_TRUE(profile.lines.empty());
}

TEST_F(ConsoleRunTest, BackupWritesTheNamedFile)
{
    EXPECT_EQ(Run({"/backup", "D:\\Saved\\all.reg"}), 0) << console.err;
    const std::string& file = writer.files["D:\\Saved\\all.reg"];
    EXPECT_EQ(file.rfind("REGEDIT4", 0), 0u);
    EXPECT_NE(file.find("\\x]"), std::string::npos);
    EXPECT_EQ(writer.directories.count("C:\\Q\\Backup"), 0u);  // nothing made beside the program
}

TEST_F(ConsoleRunTest, UndoOfTheDaysFileBringsBackEveryByte)
{
    // Every type, below-keys and a value of no text, in an entry that is bad.
    auto& x = *registry.Find(RootKey::LocalMachine, kKey + "\\x");
    FakeRegistry::Set(x, "Size", kDword, std::string("\x78\x56\x34\x12", 4));
    FakeRegistry::Set(x, "Blob", kBinary, std::string("\0\xff", 2));
    FakeRegistry::Set(x, "Path", kExpandSz, std::string("%P%\\x\0", 6));
    FakeRegistry::Set(registry.Make(RootKey::LocalMachine, kKey + "\\x\\Child\\Deep"), "L", kMultiSz,
                      std::string("a\0b\0\0", 5));
    const std::string start = Dump();
    ASSERT_EQ(Run({"/delete-bad", "/yes"}), 0) << console.err;
    ASSERT_NE(Dump(), start);
    profile.lines.clear();

    EXPECT_EQ(Run({"/undo", kChanges}), 0) << console.err;
    EXPECT_EQ(Dump(), start);
    EXPECT_NE(console.out.find("2 restored, 0 already"), std::string::npos) << console.out;
    const std::vector<std::string> log = profile.ReadSection(kSettings, "Log");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[1].find("Shortcut for \"Bad One\" application restored."), std::string::npos) << log[1];
    // Again: everything is as before the change already.
    EXPECT_EQ(Run({"/undo", kChanges}), 0) << console.err;
    EXPECT_NE(console.out.find("0 restored, 2 already"), std::string::npos) << console.out;
    EXPECT_EQ(Dump(), start);
}

TEST_F(ConsoleRunTest, UndoBringsBackTheUsersEntriesToo)
{
    const std::string ann = "S-1-5-21-7-1001";
    for (const auto& [root, hive] : {std::pair{RootKey::CurrentUser, std::string()}, {RootKey::Users, ann + "\\"}}) {
        auto& entry = registry.Make(root, hive + kKey + "\\u");
        FakeRegistry::Set(entry, "DisplayName", kSz, std::string("User's\0", 7));
        FakeRegistry::Set(entry, "UninstallString", kSz, kGone + '\0');
        FakeRegistry::Set(registry.Make(root, hive + kKey + "\\u\\Deep"), "L", kMultiSz, std::string("a\0\0", 3));
    }
    const std::string mine = Dump(RootKey::CurrentUser), anns = Dump(RootKey::Users, ann + "\\");
    ASSERT_EQ(Run({"/delete-bad", "/yes"}), 0) << console.err;
    ASSERT_EQ(registry.Find(RootKey::CurrentUser, kKey + "\\u"), nullptr);
    ASSERT_EQ(registry.Find(RootKey::Users, ann + "\\" + kKey + "\\u"), nullptr);

    EXPECT_EQ(Run({"/undo", kChanges}), 0) << console.err;
    EXPECT_EQ(Dump(RootKey::CurrentUser), mine);
    EXPECT_EQ(Dump(RootKey::Users, ann + "\\"), anns);
    EXPECT_NE(console.out.find("4 restored, 0 already"), std::string::npos) << console.out;
}

TEST_F(ConsoleRunTest, UndoLeavesWhatChangedSince)
{
    ASSERT_EQ(Run({"/delete-bad", "/yes"}), 0);
    Entry("x", "Bad One", "C:\\Reinstalled\\u.exe");  // an installer made it again
    const std::string reinstalled = Dump();
    console.err.clear();
    EXPECT_EQ(Run({"/undo", kChanges}), 1);
    EXPECT_EQ(Lines(console.err), 1u);
    EXPECT_NE(console.err.find("Changed since, so left as it is now: \"Bad One\" (x)"), std::string::npos)
        << console.err;
    EXPECT_TRUE(Has("y"));
    EXPECT_EQ(registry.Find(RootKey::LocalMachine, kKey + "\\x")->values.size(), 2u);

    // A key the change made or edited: the file does not say what the change left.
    writer.files["C:\\new.reg"] = "REGEDIT4\r\n\r\n; 2026-12-08 10:00:00 new entry \"Alpha\"\r\n\r\n"
                                   "[-HKEY_LOCAL_MACHINE\\" + kKey + "\\a]\r\n";
    console.err.clear();
    EXPECT_EQ(Run({"/undo", "C:\\new.reg"}), 1);
    EXPECT_TRUE(Has("a"));
    EXPECT_NE(console.err.find("\"Alpha\" (a)"), std::string::npos) << console.err;
}

TEST_F(ConsoleRunTest, UndoRefusesAnEntryWhoseSectionTheParserRejectedLinesOf)
{
    FakeRegistry::Set(*registry.Find(RootKey::LocalMachine, kKey + "\\x"), "Size", kDword, std::string(4, '\1'));
    ASSERT_EQ(Run({"/delete-bad", "/yes"}), 0);
    std::string& file = writer.files[kChanges];
    // The size's line loses its data: the editor would skip it, and x come back without it.
    const size_t at = file.find("\"Size\"=");
    ASSERT_NE(at, std::string::npos) << file;
    file.replace(at, file.find("\r\n", at) - at, "\"Size\"=hex(4):zz");
    const size_t line = static_cast<size_t>(std::count(file.begin(), file.begin() + static_cast<long>(at), '\n')) + 1;
    file = "REGEDIT4\r\nstray\r\n" + file.substr(10);
    console.err.clear();
    EXPECT_EQ(Run({"/undo", kChanges}), 1);
    EXPECT_FALSE(Has("x"));
    EXPECT_TRUE(Has("y"));
    EXPECT_EQ(console.err, "Damaged at line 2 of the file, outside any key.\nDamaged at line " +
                               std::to_string(line + 1) + " of the file, so left alone: \"Bad One\" (x)\n");
}

TEST_F(ConsoleRunTest, UndoLeavesAKeyDeeperThanTheRegistryAllowsAlone)
{
    std::string deep = "[HKEY_LOCAL_MACHINE\\" + kKey + "\\deep";
    for (int level = 0; level < 200000; ++level) deep += "\\k";
    writer.files["C:\\deep.reg"] = "REGEDIT4\r\n\r\n" + deep + "]\r\n\"V\"=\"1\"\r\n";
    writer.files["C:\\long.reg"] = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + kKey + "\\" + std::string(256, 'n') +
                                     "]\r\n\"V\"=\"1\"\r\n";
    for (const char* file : {"C:\\deep.reg", "C:\\long.reg"}) {
        console.err.clear();
        EXPECT_EQ(Run({"/undo", file}), 1);
        EXPECT_EQ(Lines(console.err), 1u) << console.err.substr(0, 200);
        EXPECT_NE(console.err.find("deeper or with a longer name"), std::string::npos) << console.err.substr(0, 200);
    }
    EXPECT_FALSE(Has("deep") || Has(std::string(256, 'n')));
}

TEST_F(ConsoleRunTest, UndoTouchesNothingOutsideTheEntries)
{
    writer.files["C:\\odd.reg"] = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n\"V\"=\"1\"\r\n";
    EXPECT_EQ(Run({"/undo", "C:\\odd.reg"}), 1);
    EXPECT_NE(console.err.find("left alone: HKEY_LOCAL_MACHINE\\Software\\Other"), std::string::npos) << console.err;
    EXPECT_EQ(registry.Find(RootKey::LocalMachine, "Software\\Other"), nullptr);
    for (const char* file : {"C:\\none.reg", "C:\\odd.reg"}) {
        if (std::string(file) == "C:\\odd.reg") writer.files[file] = "not a registry file";
        console.err.clear();
        EXPECT_EQ(Run({"/undo", file}), 1);
        EXPECT_EQ(Lines(console.err), 1u) << console.err;
    }
    EXPECT_TRUE(profile.lines.empty());
}

}  // namespace
