#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "common/Locale.h"
#include "editing/ChangesFile.h"
#include "editing/KeySnapshot.h"
#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kGood = "C:\\App\\good.exe";
const std::string kGone = "C:\\App\\gone.exe";
const std::string kFile = "C:\\Q\\Backup\\Changes 2026-12-08.reg";

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string out;
    for (int b : bytes) out += static_cast<char>(b);
    return out;
}

// Every value type, empty values, a default value and a value of 1 MiB.
struct TypedValue {
    const char* name;
    std::uint32_t type;
    std::string data;
};
std::vector<TypedValue> EveryType()
{
    std::string big(1 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + 3);
    return {
        {"DisplayName", kRegSz, std::string("Alpha\0", 6)},
        {"UninstallString", kRegSz, kGood + '\0'},
        {"Path", kRegExpandSz, std::string("%ProgramFiles%\\A\0", 17)},
        {"Lines", kRegMultiSz, std::string("one\0two\0\0", 9)},
        {"Size", kRegDword, Bytes({0x78, 0x56, 0x34, 0x12})},
        {"Stamp", kRegQword, Bytes({1, 2, 3, 4, 5, 6, 7, 0x80})},
        {"Blob", kRegBinary, Bytes({0, 0xff, 0x10})},
        {"Odd", 0x1234, Bytes({9, 8})},
        {"NoType", kRegNone, ""},
        {"EmptySz", kRegSz, ""},
        {"EmptyBinary", kRegBinary, ""},
        {"", kRegSz, std::string("default\0", 8)},
        {"Big", kRegBinary, big},
    };
}

class UndoTest : public ::testing::Test, protected CoreHarness {
protected:
    UndoTest()
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
    // An entry holding every type, with keys two levels below it.
    void FullEntry(const std::string& subkey)
    {
        auto& key = registry.Make(RootKey::LocalMachine, kKey + "\\" + subkey);
        for (const TypedValue& v : EveryType()) FakeRegistry::Set(key, v.name, static_cast<ValueType>(v.type), v.data);
        auto& child = registry.Make(RootKey::LocalMachine, kKey + "\\" + subkey + "\\Child");
        FakeRegistry::Set(child, "Level", kDword, Bytes({1, 0, 0, 0}));
        registry.Make(RootKey::LocalMachine, kKey + "\\" + subkey + "\\Child\\Grandchild");
        FakeRegistry::Set(*registry.Find(RootKey::LocalMachine, kKey + "\\" + subkey + "\\Child\\Grandchild"), "Deep",
                          kExpandSz, std::string("%TEMP%\0", 7));
    }
    // The whole Uninstall key: names, types and bytes; entries sorted, for a
    // key put back comes last in the fake's order. A long value as its size and hash.
    std::string Dump()
    {
        std::function<std::string(FakeRegistry::Key&, const std::string&)> walk = [&](FakeRegistry::Key& key,
                                                                                     const std::string& path) {
            std::string out = "[" + path + "]";
            for (auto& [n, v] : key.values) {
                const std::string data =
                    v.data.size() <= 64 ? v.data : std::to_string(v.data.size()) + "#" +
                                                       std::to_string(std::hash<std::string>()(v.data));
                out += n + ":" + std::to_string(v.type) + "=" + data + ";";
            }
            std::map<std::string, std::string> children;
            for (auto& [n, child] : key.children) children[n] = walk(*child, path + "\\" + n);
            for (auto& [n, text] : children) out += text;
            return out;
        };
        auto* key = registry.Find(RootKey::LocalMachine, kKey);
        return key ? walk(*key, "") : std::string();
    }
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
    void Undo() { main.Guard([&] { main.Editing().UndoClick(); }); }
    std::string TopLog() const { return main.Log().Size() ? main.Log().Records().front().message : ""; }
};

TEST_F(UndoTest, CaptureAndRestoreKeepEveryTypeEmptyValuesNestedKeysAndAMegabyte)
{
    FullEntry("full");
    const std::string before = Dump();
    KeySnapshots snapshots(registry);
    const KeySnapshot snapshot = snapshots.Capture({"full"});
    ASSERT_TRUE(snapshot.exists);
    EXPECT_EQ(snapshot.values.size(), EveryType().size());
    ASSERT_EQ(snapshot.keys.size(), 1u);
    EXPECT_EQ(snapshot.keys[0].keys.size(), 1u);
    EXPECT_EQ(snapshot.DisplayName(), "Alpha");

    ASSERT_TRUE(registry.Drop(RootKey::LocalMachine, kKey + "\\full"));
    snapshots.Restore({"full"}, snapshot);
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(snapshots.Capture({"FULL"}).values, snapshot.values);

    // A key that was not there is taken as missing and restored by removal.
    const KeySnapshot missing = snapshots.Capture({"nothing"});
    EXPECT_FALSE(missing.exists);
    snapshots.Restore({"full"}, KeySnapshot{"full", false, {}, {}});
    EXPECT_EQ(registry.Find(RootKey::LocalMachine, kKey + "\\full"), nullptr);
}

// String data as the registry keeps it: UTF-16LE.
std::string W(const std::string& utf8) { return Utf16LeFromUtf8(utf8); }

TEST(ChangesFile, EachTypeInTheFormThatBringsItsBytesBack)
{
    const struct {
        RegistryValue value;
        std::string line;  // REGEDIT4, ANSI bytes
    } cases[] = {
        {{"DisplayName", kRegSz, W(std::string("A \"q\" \\ b\0", 10))}, "\"DisplayName\"=\"A \\\"q\\\" \\\\ b\""},
        {{"", kRegSz, W(std::string("d\0", 2))}, "@=\"d\""},
        {{"Caf\xC3\xA9", kRegSz, W(std::string("na\xC3\xAFve\0", 7))}, "\"Caf\xE9\"=\"na\xEFve\""},
        {{"Two", kRegSz, W(std::string("a\nb\0", 4))}, "\"Two\"=hex(1):61,0a,62,00"},
        {{"Empty", kRegSz, ""}, "\"Empty\"=hex(1):"},
        {{"Path", kRegExpandSz, W(std::string("%A%\xC3\xA9\0", 6))}, "\"Path\"=hex(2):25,41,25,e9,00"},
        {{"Lines", kRegMultiSz, W(std::string("x\0\0", 3))}, "\"Lines\"=hex(7):78,00,00"},
        {{"Size", kRegDword, Bytes({0x78, 0x56, 0x34, 0x12})}, "\"Size\"=dword:12345678"},
        {{"Short", kRegDword, Bytes({1, 2})}, "\"Short\"=hex(4):01,02"},
        {{"Stamp", kRegQword, Bytes({1, 0, 0, 0, 0, 0, 0, 0xff})}, "\"Stamp\"=hex(b):01,00,00,00,00,00,00,ff"},
        {{"Blob", kRegBinary, Bytes({0, 0xab, 0x3D, 0xD8})}, "\"Blob\"=hex:00,ab,3d,d8"},
        {{"None", kRegNone, ""}, "\"None\"=hex(0):"},
        {{"Odd", 0x1234, Bytes({7})}, "\"Odd\"=hex(1234):07"},
        {{"Line\nBreak", kRegBinary, Bytes({1})}, "\"Line\\nBreak\"=hex:01"},
        {{"Cr\rLf\n", kRegDword, Bytes({1, 0, 0, 0})}, "\"Cr\\rLf\\n\"=dword:00000001"},
    };
    const LocalTime when{2026, 12, 8, 9, 5, 7, 2};
    FakeLocale locale;
    for (const auto& c : cases) {
        KeySnapshot key{"k", true, {c.value}, {}};
        const ChangesText section =
            ChangesSection(when, "delete of \"X\"", {{"HKEY_LOCAL_MACHINE\\U\\k", key, false}}, locale);
        EXPECT_FALSE(section.unicode) << c.line;
        EXPECT_EQ(section.text, "\r\n; 2026-12-08 09:05:07 delete of \"X\"\r\n\r\n[HKEY_LOCAL_MACHINE\\U\\k]\r\n" +
                                    c.line + "\r\n")
            << c.line;
    }
    // Long values go on continued lines of 25 bytes; a key left in place is removed first.
    KeySnapshot long_{"k", true, {{"L", kRegBinary, std::string(26, 'A')}}, {{"c", true, {}, {}}}};
    const std::string text = ChangesSection(when, "properties of \"X\"", {{"HKEY_X\\k", long_, true}}, locale).text;
    EXPECT_NE(text.find("\r\n[-HKEY_X\\k]\r\n\r\n[HKEY_X\\k]\r\n\"L\"=hex:41,"), std::string::npos) << text;
    EXPECT_NE(text.find("41,\\\r\n  41\r\n\r\n[HKEY_X\\k\\c]\r\n"), std::string::npos) << text;
    // New: the way back is the removal alone.
    EXPECT_EQ(ChangesSection(when, "new", {{"HKEY_X\\n", KeySnapshot{"n", false, {}, {}}, true}}, locale).text,
              "\r\n; 2026-12-08 09:05:07 new\r\n\r\n[-HKEY_X\\n]\r\n");
}

// Anything the ANSI code page cannot hold sends the whole section to the
// Unicode format, string data as its stored UTF-16LE bytes.
TEST(ChangesFile, WhatTheCodePageLacksGoesToTheUnicodeFormat)
{
    const std::string kJapanese = "\xE6\x97\xA5";  // U+65E5
    const struct {
        std::string command, subkey;
        RegistryValue value;
        std::string line;  // UTF-8 of the Unicode format's line
    } cases[] = {
        {"x", "k", {"N", kRegSz, W("\xE6\x97\xA5 \"q\"" + std::string(1, '\0'))}, "\"N\"=\"\xE6\x97\xA5 \\\"q\\\"\""},
        {"x", "k", {kJapanese, kRegDword, Bytes({1, 0, 0, 0})}, "\"\xE6\x97\xA5\"=dword:00000001"},
        {"x", kJapanese, {"A", kRegSz, W(std::string("a\0", 2))}, "\"A\"=\"a\""},
        {"of \"\xE6\x97\xA5\"", "k", {"A", kRegSz, W(std::string("a\0", 2))}, "\"A\"=\"a\""},
        {"x", "k", {"P", kRegExpandSz, W(std::string("%A%\xE6\x97\xA5\0", 7))}, "\"P\"=hex(2):25,00,41,00,25,00,e5,65,00,00"},
        {"x", "k", {"T", kRegSz, W(std::string("\xE6\x97\xA5\n\0", 5))}, "\"T\"=hex(1):e5,65,0a,00,00,00"},
        // Not UTF-16: odd length, a lone surrogate. Only raw bytes bring them back.
        {"x", "k", {"O", kRegSz, Bytes({0x41, 0, 0x42})},
         "; \"O\" holds 3 bytes without a closing NUL, which no registry script gives back exactly: importing this "
         "file adds one (Undo in Quillet, during its run, restores them exactly)\r\n\"O\"=hex(1):41,00,42"},
        {"x", "k", {"S", kRegMultiSz, Bytes({0x3D, 0xD8, 0, 0})}, "\"S\"=hex(7):3d,d8,00,00"},
        // No closing NUL: the exact bytes, and a word that the editor adds one.
        {"x", "k", {"NoNul", kRegSz, W("ab")},
         "; \"NoNul\" holds 4 bytes without a closing NUL, which no registry script gives back exactly: importing this "
         "file adds one (Undo in Quillet, during its run, restores them exactly)\r\n\"NoNul\"=hex(1):61,00,62,00"},
        {"x", "k", {"One", kRegExpandSz, "a"},
         "; \"One\" holds 1 bytes without a closing NUL, which no registry script gives back exactly: importing this "
         "file adds one (Undo in Quillet, during its run, restores them exactly)\r\n\"One\"=hex(2):61,00"},
    };
    const LocalTime when{2026, 12, 8, 9, 5, 7, 2};
    FakeLocale locale;
    for (const auto& c : cases) {
        KeySnapshot key{c.subkey, true, {c.value}, {}};
        const ChangesText section = ChangesSection(when, c.command, {{"HKEY_X\\" + c.subkey, key, true}}, locale);
        EXPECT_TRUE(section.unicode) << c.line;
        EXPECT_EQ(section.text, "\r\n; 2026-12-08 09:05:07 " + c.command + "\r\n\r\n[-HKEY_X\\" + c.subkey +
                                    "]\r\n\r\n[HKEY_X\\" + c.subkey + "]\r\n" + c.line + "\r\n")
            << c.line;
    }

    // Each format has its file and its heading, written once.
    FakeFileWriter writer;
    KeySnapshot key{"k", true, {{"N", kRegSz, W(kJapanese + '\0')}}, {}};
    const ChangesText section = ChangesSection(when, "x", {{"HKEY_X\\k", key, false}}, locale);
    ASSERT_TRUE(section.unicode);
    EXPECT_EQ(ChangesFileName(when, true), "Changes 2026-12-08 Unicode.reg");
    AppendChanges(writer, "u.reg", section);
    AppendChanges(writer, "u.reg", section);
    const std::string once = W("\r\n; 2026-12-08 09:05:07 x\r\n\r\n[HKEY_X\\k]\r\n\"N\"=\"" + kJapanese + "\"\r\n");
    EXPECT_EQ(writer.files["u.reg"], "\xFF\xFE" + W("Windows Registry Editor Version 5.00\r\n") + once + once);
    AppendChanges(writer, "a.reg", ChangesText{"\r\n; x\r\n", false});
    EXPECT_EQ(writer.files["a.reg"], "REGEDIT4\r\n\r\n; x\r\n");
}

TEST_F(UndoTest, DeleteUndoneBringsTheWholeKeyBackFocusedAndRecorded)
{
    Entry("a", "Alpha", kGood);
    FullEntry("full");
    main.Catalogue().LoadPrograms();
    const std::string before = Dump();
    EXPECT_EQ(UndoMenu(), "<disabled>");
    EXPECT_EQ(view.menuTexts[MenuItem::UndoMM], "Undo");

    view.focused = 1;  // "full" shows as Alpha too; its row is second
    ASSERT_EQ(main.Rows()[1].subkey, "full");
    main.Editing().DeleteClick();
    ASSERT_EQ(registry.Find(RootKey::LocalMachine, kKey + "\\full"), nullptr);
    EXPECT_EQ(UndoMenu(), "Undo delete of \"Alpha\"");
    // Written before the change: the file holds every value of the key.
    ASSERT_TRUE(writer.files.count(kFile));
    EXPECT_EQ(writer.files[kFile].rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_NE(writer.files[kFile].find("\"Size\"=dword:12345678"), std::string::npos);
    EXPECT_NE(writer.files[kFile].find("\\full\\Child\\Grandchild]"), std::string::npos);

    view.focused = -1;
    Undo();
    EXPECT_TRUE(dialogs.failures.empty());
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(main.Rows().size(), 2u);
    ASSERT_GE(view.focused, 0);
    EXPECT_EQ(main.Rows()[static_cast<size_t>(view.focused)].subkey, "full");
    EXPECT_EQ(TopLog(), "Shortcut for \"Alpha\" application restored.");
    EXPECT_EQ(UndoMenu(), "<disabled>");
}

TEST_F(UndoTest, NewAndPropertiesUndone)
{
    Entry("b", "Beta", kGood);
    main.Catalogue().LoadPrograms();
    const std::string start = Dump();
    dialogs.onProperties = [](TPropertiesForm& form) {
        form.Display = "Gamma";
        form.Uninstall.Text = kGood;
    };
    main.Editing().NewClick();
    EXPECT_EQ(UndoMenu(), "Undo new entry \"Gamma\"");
    Focus("Beta");
    dialogs.onProperties = [](TPropertiesForm& form) { form.Display = "Beta 2"; };
    main.Editing().EditClick();
    EXPECT_EQ(UndoMenu(), "Undo properties of \"Beta\"");
    // OK without a change is no change: nothing to take back.
    Focus("Beta 2");
    dialogs.onProperties = nullptr;
    main.Editing().EditClick();
    EXPECT_EQ(UndoMenu(), "Undo properties of \"Beta\"");

    Undo();
    EXPECT_EQ(TopLog(), "Shortcut for \"Beta\" application restored.");
    EXPECT_EQ(main.Rows()[static_cast<size_t>(view.focused)].caption, "Beta");
    Undo();
    EXPECT_EQ(TopLog(), "Shortcut for \"Gamma\" application removed.");
    EXPECT_EQ(Dump(), start);
    EXPECT_EQ(main.Rows().size(), 1u);
    EXPECT_NE(writer.files[kFile].find("[-HKEY_LOCAL_MACHINE\\" + kKey + "\\Gamma]"), std::string::npos);
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST_F(UndoTest, MixedCommandsAreTakenBackNewestFirst)
{
    Entry("a", "Alpha", kGood);
    Entry("b", "Beta", kGood);
    Entry("x", "Bad One", kGone);
    Entry("y", "Bad Two", kGone);
    main.Catalogue().LoadPrograms();
    const std::string start = Dump();
    std::vector<std::string> states{Dump()};

    Focus("Alpha");
    main.Editing().DeleteClick();
    states.push_back(Dump());
    main.Editing().DeleteBadBtnClick();
    states.push_back(Dump());
    Focus("Beta");
    dialogs.onProperties = [](TPropertiesForm& form) { form.Uninstall.Text = "C:\\Other\\b.exe"; };
    main.Editing().EditClick();
    states.push_back(Dump());
    dialogs.onProperties = [](TPropertiesForm& form) {
        form.Display = "Delta";
        form.Uninstall.Text = kGood;
    };
    main.Editing().NewClick();

    const char* labels[] = {"Undo new entry \"Delta\"", "Undo properties of \"Beta\"", "Undo delete of 2 bad entries",
                            "Undo delete of \"Alpha\""};
    for (const char* label : labels) {
        EXPECT_EQ(UndoMenu(), label);
        Undo();
        EXPECT_EQ(Dump(), states.back()) << label;
        states.pop_back();
    }
    EXPECT_EQ(Dump(), start);
    EXPECT_EQ(UndoMenu(), "<disabled>");
    EXPECT_EQ(main.Rows().size(), 4u);
    EXPECT_TRUE(dialogs.failures.empty());
    // The four sections of the day's file in the order of the changes.
    const std::string& file = writer.files[kFile];
    EXPECT_LT(file.find("delete of \"Alpha\""), file.find("delete of 2 bad entries"));
    EXPECT_LT(file.find("properties of \"Beta\""), file.find("new entry \"Delta\""));
}

TEST_F(UndoTest, AnEntryOutsideTheCodePageGoesToTheUnicodeChangesFile)
{
    const std::string kDay = "\xE6\x97\xA5";
    Entry(kDay, kDay + " App", kGood);
    main.Catalogue().LoadPrograms();
    const std::string before = Dump();
    view.focused = 0;
    main.Editing().DeleteClick();
    ASSERT_EQ(registry.Find(RootKey::LocalMachine, kKey + "\\" + kDay), nullptr);

    const std::string unicodeFile = "C:\\Q\\Backup\\Changes 2026-12-08 Unicode.reg";
    EXPECT_EQ(main.Editing().History.ChangesPath(), unicodeFile);
    EXPECT_EQ(writer.files.count(kFile), 0u);
    ASSERT_EQ(writer.files[unicodeFile].compare(0, 2, "\xFF\xFE"), 0);
    std::string text;
    EXPECT_TRUE(Utf8FromUtf16Le(writer.files[unicodeFile].substr(2), text));
    EXPECT_NE(text.find("Uninstall\\" + kDay + "]\r\n\"DisplayName\"=\"" + kDay + " App\"\r\n"), std::string::npos)
        << text;
    Undo();
    EXPECT_EQ(Dump(), before);
}

TEST_F(UndoTest, AKeyMadeAgainSinceIsNotOverwritten)
{
    Entry("a", "Alpha", kGood);
    Entry("b", "Beta", kGone);
    main.Catalogue().LoadPrograms();
    main.Editing().DeleteBadBtnClick();
    Focus("Alpha");
    main.Editing().DeleteClick();
    // An installer makes "a" again; Beta is still gone.
    Entry("a", "Alpha 2.0", kGood);
    Undo();
    ASSERT_EQ(dialogs.failures.size(), 1u);
    EXPECT_NE(dialogs.failures[0].find("\"Alpha\""), std::string::npos);
    EXPECT_EQ(registry.Find(RootKey::LocalMachine, kKey + "\\a")->values[0].second.Text(), "Alpha 2.0");
    // The conflict used up that change; the one before it is next and still works.
    EXPECT_EQ(UndoMenu(), "Undo delete of 1 bad entry");
    Undo();
    EXPECT_NE(registry.Find(RootKey::LocalMachine, kKey + "\\b"), nullptr);
    EXPECT_EQ(TopLog(), "Shortcut for \"Beta\" application restored.");
}

TEST_F(UndoTest, NoChangeWithoutItsWayBackAndNoUndoDuringAJob)
{
    Entry("a", "Alpha", kGood);
    main.Catalogue().LoadPrograms();
    const struct {
        const char* what;
        std::function<void()> setUp;
        const char* reason;
    } failures[] = {
        {"read-only folder", [&] { writer.readOnly.insert(kFile); }, "Access denied"},
        {"full disk", [&] { writer.spaceLeft = 3; }, "There is not enough space on the disk"},
    };
    for (const auto& f : failures) {
        writer = FakeFileWriter();
        f.setUp();
        dialogs.failures.clear();
        Focus("Alpha");
        main.Guard([&] { main.Editing().DeleteClick(); });
        EXPECT_NE(registry.Find(RootKey::LocalMachine, kKey + "\\a"), nullptr) << f.what;
        EXPECT_EQ(main.Rows().size(), 1u) << f.what;
        ASSERT_EQ(dialogs.failures.size(), 1u) << f.what;
        EXPECT_NE(dialogs.failures[0].find(f.reason), std::string::npos) << dialogs.failures[0];
        EXPECT_NE(dialogs.failures[0].find(kFile), std::string::npos) << dialogs.failures[0];
        EXPECT_EQ(UndoMenu(), "<disabled>") << f.what;
    }

    writer = FakeFileWriter();
    Focus("Alpha");
    main.Editing().DeleteClick();
    main.Job().Running = true;
    EXPECT_EQ(UndoMenu(), "<disabled>");
    Undo();
    EXPECT_EQ(registry.Find(RootKey::LocalMachine, kKey + "\\a"), nullptr);
    main.Job().Running = false;
    EXPECT_EQ(UndoMenu(), "Undo delete of \"Alpha\"");
}

}  // namespace
