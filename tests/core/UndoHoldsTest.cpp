// Hostile names, half-done changes and failures: none costs the way back.
#include <gtest/gtest.h>

#include <new>

#include "common/Locale.h"
#include "editing/ChangesFile.h"
#include "editing/RegistryScript.h"
#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kGood = "C:\\App\\good.exe";
const std::string kGone = "C:\\App\\gone.exe";
const std::string kFile = "C:\\Q\\Backup\\Changes 2026-12-08.reg";
const LocalTime kWhen{2026, 12, 8, 9, 5, 7, 2};

std::string W(const std::string& utf8) { return Utf16LeFromUtf8(utf8); }

// The captured tree as the script's sections give it back, in its order.
void Flatten(const KeySnapshot& key, const std::string& path, std::vector<ScriptKey>& out)
{
    ScriptKey section;
    section.path = path;
    for (const RegistryValue& v : key.values) section.values.push_back({v.name, false, v.type, v.data});
    out.push_back(section);
    for (const KeySnapshot& child : key.keys) Flatten(child, path + "\\" + child.name, out);
}

TEST(ChangesRoundTrip, WhatIsWrittenParsesBackToTheCapturedTreeInBothFormats)
{
    const struct {
        const char* what;
        KeySnapshot key;
        bool unicode;
    } cases[] = {
        {"cr in a value name", {"k", true, {{"a\rb", kRegDword, std::string("\1\0\0\0", 4)}}, {}}, false},
        {"lf and quotes", {"k", true, {{"\"x\\\n", kRegSz, W(std::string("v\0", 2))}}, {}}, false},
        {"brackets in key names", {"k", true, {}, {{"x]y", true, {}, {{"[z", true, {}, {}}}}}}, false},
        {"string without its NUL", {"k", true, {{"s", kRegSz, W("ab")}}, {}}, true},
        {"odd length, last unit NUL", {"k", true, {{"o", kRegSz, std::string("\0\0\x41", 3)}}, {}}, true},
        {"unpaired surrogate", {"k\xED\xA0\x80", true, {{"v\xED\xB0\x80", kRegBinary, "\x01"}}, {}}, true},
        {"default value, empty data", {"k", true, {{"", kRegSz, ""}, {"e", kRegMultiSz, ""}}, {}}, false},
    };
    FakeLocale locale;
    for (const auto& c : cases) {
        const std::string path = "HKEY_X\\" + c.key.name;
        const ChangesText section = ChangesSection(kWhen, "x", {{path, c.key, true}}, locale);
        EXPECT_EQ(section.unicode, c.unicode) << c.what;
        RegistryScript script;
        std::string error;
        const std::string heading = section.unicode ? "Windows Registry Editor Version 5.00" : "REGEDIT4";
        ASSERT_TRUE(ParseRegistryScript(heading + "\r\n" + section.text, locale, script, error)) << error;
        std::vector<ScriptKey> want{ScriptKey{path, true, {}, 0}};
        Flatten(c.key, path, want);
        ASSERT_EQ(script.keys.size(), want.size()) << c.what;
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(script.keys[i].path, want[i].path) << c.what;
            EXPECT_EQ(script.keys[i].remove, want[i].remove) << c.what;
            ASSERT_EQ(script.keys[i].values.size(), want[i].values.size()) << c.what;
            for (size_t v = 0; v < want[i].values.size(); ++v) {
                EXPECT_EQ(script.keys[i].values[v].name, want[i].values[v].name) << c.what;
                EXPECT_EQ(script.keys[i].values[v].data, want[i].values[v].data) << c.what;
            }
        }
        EXPECT_TRUE(script.rejected.empty()) << c.what;
    }
}

TEST(ChangesRoundTrip, AKeyNameWithALineBreakIsRefused)
{
    FakeLocale locale;
    for (const std::string name : {"x]\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Victim]\r\n;", "a\rb", "a\nb"}) {
        const KeySnapshot child{name, true, {}, {}};
        const KeySnapshot key{"k", true, {}, {child}};
        EXPECT_THROW(ChangesSection(kWhen, "x", {{"HKEY_X\\k", key, false}}, locale), QuilletError) << name;
        EXPECT_THROW(ChangesSection(kWhen, "x", {{"HKEY_X\\" + name, KeySnapshot{}, true}}, locale), QuilletError);
    }
}

// A world of its own for each case of a table.
struct World : CoreHarness {
    World()
    {
        files.AddFile(kGood);
        main.Catalogue().ApplySortState(0, true);
        main.Editing().History.ChangesDir = "C:\\Q\\Backup";
    }
    FakeRegistry::Key& Entry(const std::string& subkey, const std::string& name, const std::string& command)
    {
        auto& key = registry.Make(RootKey::LocalMachine, kKey + "\\" + subkey);
        FakeRegistry::Set(key, "DisplayName", kSz, name + '\0');
        FakeRegistry::Set(key, "UninstallString", kSz, command + '\0');
        return key;
    }
    FakeRegistry::Key* Find(const std::string& below) { return registry.Find(RootKey::LocalMachine, kKey + "\\" + below); }
    void Focus(const std::string& caption)
    {
        for (size_t i = 0; i < main.Rows().size(); ++i)
            if (main.Rows()[i].caption == caption) view.focused = static_cast<int>(i);
    }
    std::string UndoMenu()
    {
        main.Views().BaseMenuPopup();
        return view.MenuItemEnabled(MenuItem::UndoMM) ? view.menuTexts[MenuItem::UndoMM] : "<disabled>";
    }
    void Do(const std::function<void()>& command)
    {
        dialogs.failures.clear();
        main.Guard(command);
    }
};
class UndoHoldsTest : public ::testing::Test, protected World {};

TEST_F(UndoHoldsTest, ADeleteRefusedForAKeyNameNoScriptCanHoldChangesNothing)
{
    Entry("x", "Hostile", kGood);
    registry.Make(RootKey::LocalMachine, kKey + "\\x\\x]\r\n[-HKEY_LOCAL_MACHINE\\Software\\Victim]\r\n;");
    main.Catalogue().LoadPrograms();
    Focus("Hostile");
    Do([&] { main.Editing().DeleteClick(); });
    ASSERT_EQ(dialogs.failures.size(), 1u);
    EXPECT_NE(dialogs.failures[0].find("line break"), std::string::npos) << dialogs.failures[0];
    EXPECT_NE(Find("x"), nullptr);
    EXPECT_EQ(writer.files.count(kFile), 0u);
    EXPECT_EQ(UndoMenu(), "<disabled>");
}

TEST_F(UndoHoldsTest, PropertiesOfAKeyGoneWhileItsDialogWasOpenRecordsNothing)
{
    Entry("a", "Alpha", kGood);
    main.Catalogue().LoadPrograms();
    Focus("Alpha");
    dialogs.onProperties = [&](TPropertiesForm& form) {
        form.Display = "Alpha 2";
        registry.SetRootKey(RootKey::LocalMachine);
        registry.DeleteKey("\\" + kKey + "\\a");
    };
    Do([&] { main.Editing().EditClick(); });
    EXPECT_EQ(dialogs.failures.size(), 1u);
    EXPECT_EQ(writer.files[kFile].find("[-"), std::string::npos) << writer.files[kFile];
    EXPECT_EQ(Find("a"), nullptr);
}

// A Properties OK keeps and writes the two values it changes, not the key:
// an entry holding a 1 MiB value costs a few hundred bytes per OK, and Undo
// puts the two values back byte for byte.
TEST_F(UndoHoldsTest, PropertiesKeepsAndWritesOnlyItsTwoValues)
{
    auto& key = Entry("a", "Alpha", kGood);
    FakeRegistry::SetRaw(key, "DisplayName", kExpandSz, W(std::string("Alpha\0", 6)));  // not what Properties writes
    FakeRegistry::SetRaw(key, "Blob", kBinary, std::string(1 << 20, 'b'));
    main.Catalogue().LoadPrograms();
    KeySnapshots snapshots(registry);
    std::vector<KeySnapshot> states{snapshots.Capture({"a"})};
    for (const std::string caption : {"Alpha", "Alpha+"}) {
        const size_t written = writer.files[kFile].size();
        Focus(caption);
        dialogs.onProperties = [&](TPropertiesForm& form) { form.Display = caption + "+"; };
        Do([&] { main.Editing().EditClick(); });
        ASSERT_TRUE(dialogs.failures.empty()) << dialogs.failures[0];
        EXPECT_LT(writer.files[kFile].size() - written, 300u) << caption;
        states.push_back(snapshots.Capture({"a"}));
    }
    EXPECT_LT(main.Editing().History.HeldBytes(), 300u);
    // The last section: the key with the two values as they were, nothing deleted.
    RegistryScript script;
    std::string error;
    ASSERT_TRUE(ParseRegistryScript(writer.files[kFile], FakeLocale(), script, error)) << error;
    ASSERT_EQ(script.keys.size(), 2u);
    EXPECT_EQ(script.keys[1].path, "HKEY_LOCAL_MACHINE\\" + kKey + "\\a");
    EXPECT_FALSE(script.keys[0].remove || script.keys[1].remove);
    ASSERT_EQ(script.keys[1].values.size(), 2u);
    EXPECT_EQ(script.keys[1].values[0].data, W(std::string("Alpha+\0", 7)));
    EXPECT_EQ(script.keys[1].values[1].data, W(kGood + '\0'));

    for (size_t undo = 2; undo-- > 0;) {
        Do([&] { main.Editing().UndoClick(); });
        EXPECT_TRUE(dialogs.failures.empty()) << dialogs.failures[0];
        EXPECT_EQ(snapshots.Capture({"a"}), states[undo]) << undo;
    }
    EXPECT_EQ(UndoMenu(), "<disabled>");
}

// What Undo of Properties does with the two values and the rest of the key.
TEST(UndoHolds, UndoOfPropertiesTakesBackItsTwoValuesOnly)
{
    const struct {
        const char* what;
        std::function<void(World&)> whileOpen, afterwards;
        bool restored;  // else a conflict, left as it is now
        const char* line;  // in the changes file
    } cases[] = {
        {"a value gone while the dialog was open is gone again",
         [](World& w) { w.Find("a")->values.erase(w.Find("a")->values.begin() + 1); }, [](World&) {}, true,
         "\"UninstallString\"=-"},
        {"another value changed since is no conflict", [](World&) {},
         [](World& w) { FakeRegistry::Set(*w.Find("a"), "Blob", kBinary, "new"); }, true, "\"DisplayName\"=\"Alpha\""},
        {"one of the two changed since is left and reported", [](World&) {},
         [](World& w) { FakeRegistry::Set(*w.Find("a"), "UninstallString", kSz, std::string("C:\\new.exe\0", 11)); },
         false, "\"DisplayName\"=\"Alpha\""},
    };
    for (const auto& c : cases) {
        World w;
        FakeRegistry::Set(w.Entry("a", "Alpha", kGood), "Blob", kBinary, "old");
        w.main.Catalogue().LoadPrograms();
        w.Focus("Alpha");
        w.dialogs.onProperties = [&](TPropertiesForm& form) {
            c.whileOpen(w);
            form.Display = "Alpha 2";
        };
        KeySnapshots snapshots(w.registry);
        w.Do([&] { w.main.Editing().EditClick(); });
        ASSERT_TRUE(w.dialogs.failures.empty()) << c.what << ": " << w.dialogs.failures[0];
        EXPECT_NE(w.writer.files[kFile].find(std::string(c.line) + "\r\n"), std::string::npos) << w.writer.files[kFile];
        EXPECT_EQ(w.writer.files[kFile].find("[-"), std::string::npos) << c.what;
        c.afterwards(w);
        const KeySnapshot now = snapshots.Capture({"a"});
        // As the Properties OK found them, and the rest as it is now.
        KeySnapshot want = now;
        for (RegistryValue& value : want.values)
            if (value.name == "DisplayName") value.data = W(std::string("Alpha\0", 6));
        if (std::string(c.line) == "\"UninstallString\"=-") want.values.pop_back();  // written last by the OK
        w.Do([&] { w.main.Editing().UndoClick(); });
        EXPECT_EQ(w.dialogs.failures.size(), c.restored ? 0u : 1u) << c.what;
        EXPECT_EQ(snapshots.Capture({"a"}), c.restored ? want : now) << c.what;
        if (!c.restored) {
            EXPECT_NE(w.dialogs.failures.at(0).find("Changed since"), std::string::npos) << c.what;
        }
    }
}

// A change that fails half-way keeps a step for what it did.
TEST(UndoHolds, HalfDoneChangesCanBeUndone)
{
    const struct {
        const char* what;
        std::function<void(World&)> setUp, command;
        const char* menu;
        size_t failures;  // a capture that fails after the writes is no failure of the change
    } cases[] = {
        {"delete stopped by a locked nested key",
         [](World& w) {
             w.registry.Make(RootKey::LocalMachine, kKey + "\\a\\First");
             w.registry.Make(RootKey::LocalMachine, kKey + "\\a\\Second\\Locked");
             w.registry.Protect(kKey + "\\a\\Second\\Locked");
         },
         [](World& w) { w.Focus("Alpha"); w.main.Editing().DeleteClick(); }, "Undo delete of \"Alpha\"", 1},
        {"delete bad stopped the same way",
         [](World& w) {
             FakeRegistry::Set(*w.Find("a"), "UninstallString", kSz, kGone + '\0');
             w.registry.Make(RootKey::LocalMachine, kKey + "\\a\\First");
             w.registry.Make(RootKey::LocalMachine, kKey + "\\a\\Second\\Locked");
             w.registry.Protect(kKey + "\\a\\Second\\Locked");
         },
         [](World& w) { w.main.Editing().DeleteBadBtnClick(); }, "Undo delete of 1 bad entry", 1},
        {"properties writing one of two values",
         [](World& w) {
             w.dialogs.onProperties = [&w](TPropertiesForm& form) {
                 form.Display = "Alpha 2";
                 form.Uninstall.Text = "C:\\other.exe";
                 w.registry.onCall = [](const std::string& call, const std::string&) {
                     if (call == "WriteString UninstallString") throw QuilletError("Failed to set data");
                 };
             };
         },
         [](World& w) { w.Focus("Alpha"); w.main.Editing().EditClick(); }, "Undo properties of \"Alpha\"", 1},
        {"properties whose key cannot be read after the writes",
         [](World& w) {
             w.dialogs.onProperties = [&w](TPropertiesForm& form) {
                 form.Display = "Alpha 2";
                 w.registry.onCall = [written = false](const std::string& call, const std::string&) mutable {
                     written = written || call.rfind("WriteString", 0) == 0;
                     if (written && call.rfind("ReadValue", 0) == 0) throw std::bad_alloc();
                 };
             };
         },
         [](World& w) { w.Focus("Alpha"); w.main.Editing().EditClick(); }, "Undo properties of \"Alpha\"", 0},
    };
    for (const auto& c : cases) {
        World w;
        w.Entry("a", "Alpha", kGood);
        FakeRegistry::Set(*w.Find("a"), "Blob", kBinary, "\x01\x02");
        c.setUp(w);
        w.registry.onCall = nullptr;
        w.main.Catalogue().LoadPrograms();
        KeySnapshots snapshots(w.registry);
        const KeySnapshot before = snapshots.Capture({"a"});
        w.Do([&] { c.command(w); });
        EXPECT_EQ(w.dialogs.failures.size(), c.failures) << c.what;
        w.registry.onCall = nullptr;
        EXPECT_EQ(w.UndoMenu(), c.menu) << c.what;
        w.Do([&] { w.main.Editing().UndoClick(); });
        EXPECT_TRUE(w.dialogs.failures.empty()) << c.what << ": " << w.dialogs.failures.at(0);
        EXPECT_EQ(snapshots.Capture({"a"}).values, before.values) << c.what;
        EXPECT_EQ(snapshots.Capture({"a"}).keys.size(), before.keys.size()) << c.what;
        w.dialogs.onProperties = nullptr;
    }
}

// Any exception half-way through a delete (out of memory, say) keeps the
// step for what went, and the message names the nested keys still there.
TEST(UndoHolds, ADeleteStoppedByAnyExceptionCanBeUndone)
{
    const struct {
        const char* what;
        std::function<void(World&)> command;
        const char* menu;
    } cases[] = {
        {"delete", [](World& w) { w.Focus("Alpha"); w.main.Editing().DeleteClick(); }, "Undo delete of \"Alpha\""},
        {"delete of two rows",
         [](World& w) {
             w.view.selected = {0, 1};
             w.main.Editing().DeleteClick();
         },
         "Undo delete of 2 entries"},
        {"delete bad", [](World& w) { w.main.Editing().DeleteBadBtnClick(); }, "Undo delete of 2 bad entries"},
    };
    for (const auto& c : cases) {
        World w;
        w.Entry("a", "Alpha", kGone);
        w.Entry("b", "Beta", kGone);
        w.registry.Make(RootKey::LocalMachine, kKey + "\\a\\First");
        w.registry.Make(RootKey::LocalMachine, kKey + "\\a\\Second\\Deep");
        w.main.Catalogue().LoadPrograms();
        KeySnapshots snapshots(w.registry);
        const KeySnapshot before = snapshots.Capture({"a"});
        w.registry.onCall = [](const std::string& call, const std::string& path) {
            if (call == "DeleteKey" && path.size() > 7 && path.substr(path.size() - 7) == "\\second") throw std::bad_alloc();
        };
        w.Do([&] { c.command(w); });
        w.registry.onCall = nullptr;
        ASSERT_EQ(w.dialogs.failures.size(), 1u) << c.what;
        const std::string& message = w.dialogs.failures[0];
        EXPECT_NE(message.find("\"Alpha\""), std::string::npos) << message;
        EXPECT_NE(message.find("Still there"), std::string::npos) << c.what << ": " << message;
        EXPECT_NE(message.find("\"a\\Second\""), std::string::npos) << c.what << ": " << message;
        EXPECT_EQ(message.find("\"a\\First\""), std::string::npos) << c.what << ": " << message;
        EXPECT_EQ(w.UndoMenu(), c.menu) << c.what;
        w.Do([&] { w.main.Editing().UndoClick(); });
        EXPECT_TRUE(w.dialogs.failures.empty()) << c.what << ": " << w.dialogs.failures.at(0);
        EXPECT_EQ(snapshots.Capture({"a"}), before) << c.what;
        EXPECT_NE(w.Find("b"), nullptr) << c.what;
    }
}

// An exception while Undo reads or writes a key loses nothing: that key's
// part stays for the next Undo, the others are put back and logged.
TEST(UndoHolds, AnUndoThatFailsKeepsWhatItCouldNotRestore)
{
    const struct {
        const char* what;
        std::function<void(const std::string&, const std::string&)> fault;
    } cases[] = {
        {"out of memory", [](const std::string& call, const std::string& path) {
             if (call == "WriteValue DisplayName" && path.find("\\b") != std::string::npos) throw std::bad_alloc();
         }},
        {"a value that cannot be written back", [](const std::string& call, const std::string& path) {
             if (call == "WriteValue Blob" && path.find("\\b") != std::string::npos)
                 throw QuilletError("Failed to set data for 'Blob'");
         }},
    };
    for (const auto& c : cases) {
        World w;
        w.Entry("a", "Bad A", kGone);
        FakeRegistry::Set(w.Entry("b", "Bad B", kGone), "Blob", kBinary, "\x01");
        w.main.Catalogue().LoadPrograms();
        w.main.Editing().DeleteBadBtnClick();
        ASSERT_EQ(w.UndoMenu(), "Undo delete of 2 bad entries") << c.what;
        w.registry.onCall = c.fault;
        w.Do([&] { w.main.Editing().UndoClick(); });
        ASSERT_EQ(w.dialogs.failures.size(), 1u) << c.what;
        EXPECT_NE(w.dialogs.failures[0].find("\"Bad B\""), std::string::npos) << w.dialogs.failures[0];
        EXPECT_NE(w.Find("a"), nullptr) << c.what;
        EXPECT_EQ(w.Find("b"), nullptr) << c.what;  // as before this Undo
        EXPECT_EQ(w.main.Log().Records().front().message, "Shortcut for \"Bad A\" application restored.") << c.what;
        EXPECT_EQ(w.main.Rows().size(), 1u) << c.what;  // reloaded
        EXPECT_EQ(w.UndoMenu(), "Undo delete of 2 bad entries") << c.what;
        w.registry.onCall = nullptr;
        w.Do([&] { w.main.Editing().UndoClick(); });
        EXPECT_TRUE(w.dialogs.failures.empty()) << c.what;
        ASSERT_NE(w.Find("b"), nullptr) << c.what;
        EXPECT_EQ(w.UndoMenu(), "<disabled>") << c.what;
    }
}

TEST(UndoBound, TheOldestStepsGoFirstPastTheCountOrTheSize)
{
    FakeRegistry registry;
    FakeClock clock;
    FakeLocale locale;
    const struct {
        size_t steps, bytesEach, kept;
    } cases[] = {
        {UndoHistory::kMaxSteps + 5, 10, UndoHistory::kMaxSteps},
        {70, 1 << 20, 63},  // 1 MiB before and 1 MiB after each
    };
    for (const auto& c : cases) {
        UndoHistory history(registry, nullptr, clock, locale);
        for (size_t i = 0; i < c.steps; ++i) {
            UndoStep step;
            step.label = std::to_string(i);
            const KeySnapshot before{"k", true, {{"v", kRegBinary, std::string(c.bytesEach / 2, 'b')}}, {}};
            const KeySnapshot after{"k", true, {{"v", kRegBinary, std::string(c.bytesEach / 2, 'a')}}, {}};
            step.items.push_back({EntryKey{"k" + std::to_string(i)}, "", before, after});
            history.Push(std::move(step));
        }
        size_t kept = 0;
        for (; !history.Empty() && kept < c.steps; ++kept) {
            EXPECT_EQ(history.NextLabel(), std::to_string(c.steps - 1 - kept));
            history.UndoLast();  // each is a conflict here: the fake holds no such key
        }
        EXPECT_EQ(kept, c.kept);
    }
}

}  // namespace
