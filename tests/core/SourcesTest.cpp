#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"
#include "fakes/FakeAccounts.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kMe = "S-1-5-21-1-2-3-1000";
const std::string kOther = "S-1-5-21-1-2-3-1001";
const std::string kGood = "C:\\App\\good.exe";

// The machine, the current user (HKCU) and a second user's loaded hive, each
// with entries shaped like real ones, and the same subkey in all three.
class SourcesTest : public ::testing::Test, protected CoreFakes {
protected:
    SourcesTest()
    {
        accounts.names[kOther] = "PC\\Ann";
        files.AddFile(kGood);
        files.AddFile("C:\\Users\\Me\\AppData\\Local\\Chat\\Update.exe");
        // Hives that are no user's, and our own hive seen from HKEY_USERS.
        registry.Make(RootKey::Users, ".DEFAULT\\" + kUninstallPath + "\\Ghost");
        registry.Make(RootKey::Users, kOther + "_Classes\\" + kUninstallPath + "\\Ghost");
        registry.Make(RootKey::Users, kMe + "\\" + kUninstallPath + "\\Ghost");
        Add(RootKey::LocalMachine, "Shared", "Machine app", kGood);
        Add(RootKey::CurrentUser, "Shared", "My app", kGood);
        auto& chat = Add(RootKey::CurrentUser, "Chat", "Chat",
                         "C:\\Users\\Me\\AppData\\Local\\Chat\\Update.exe --uninstall ");
        FakeRegistry::Set(chat, "QuietUninstallString", kSz,
                          std::string("\"C:\\Users\\Me\\AppData\\Local\\Chat\\Update.exe\" --uninstall -s") + '\0');
        FakeRegistry::Set(chat, "URLUpdateInfo", kSz, "");
        FakeRegistry::Set(chat, "InstallDate", kSz, std::string("20240131\0", 9));
        auto& editor = Add(RootKey::Users, kOther + "\\", "{4F3C-11}_is1", "Editor", "\"C:\\Users\\Ann\\Ed\\unins000.exe\"");
        FakeRegistry::Set(editor, "EstimatedSize", kDword, std::string("\x00\x10\x00\x00", 4));
        Add(RootKey::Users, kOther + "\\", "Shared", "Ann's app", kGood);
        main.Catalogue().ApplySortState(0, true);
        main.Editing().History.ChangesDir = "C:\\Q\\Backup";
    }
    FakeRegistry::Key& Add(RootKey root, const std::string& subkey, const std::string& name, const std::string& command)
    {
        return Add(root, "", subkey, name, command);
    }
    FakeRegistry::Key& Add(RootKey root, const std::string& hive, const std::string& subkey, const std::string& name,
                           const std::string& command)
    {
        auto& key = registry.Make(root, hive + kUninstallPath + "\\" + subkey);
        FakeRegistry::Set(key, "DisplayName", kSz, name + '\0');
        FakeRegistry::Set(key, "UninstallString", kSz, command + '\0');
        return key;
    }
    void Focus(const std::string& caption)
    {
        for (size_t i = 0; i < main.Rows().size(); ++i)
            if (main.Rows()[i].caption == caption) view.focused = static_cast<int>(i);
    }
    std::string Listed() const
    {
        std::string out;
        for (const EntryRow& row : main.Rows()) out += row.caption + "@" + row.SourceName() + ";";
        return out;
    }
    FakeAccounts accounts;
    const Ports& WithAccounts()
    {
        accounts.current = kMe;
        ports.accounts = &accounts;
        return ports;
    }
    TMain main{view, WithAccounts()};
};

TEST_F(SourcesTest, EveryLoadedHiveIsListedWithItsSourceAndItsDetails)
{
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(Listed(), "Ann's app@User: PC\\Ann;Chat@User;Editor@User: PC\\Ann;Machine app@;My app@User;");
    // The details as the list asks for them, read after the load.
    const EntryRow& chat = *main.Catalogue().DetailedRow(1);
    EXPECT_EQ(chat.command, "C:\\Users\\Me\\AppData\\Local\\Chat\\Update.exe --uninstall ");
    EXPECT_EQ(chat.image, kImageGood);
    EXPECT_EQ(chat.details.quietUninstall, "\"C:\\Users\\Me\\AppData\\Local\\Chat\\Update.exe\" --uninstall -s");
    EXPECT_EQ(chat.details.installDate, 20240131);
    EXPECT_EQ(chat.details.sizeKiB, -1);
    EXPECT_EQ(main.Catalogue().DetailedRow(2)->details.sizeKiB, 4096);
    EXPECT_EQ(main.Rows()[2].details.installDate, 0);
    EXPECT_EQ(main.Rows()[2].Key().sid, kOther);
    EXPECT_EQ(main.Rows()[1].Key(), (EntryKey{"chat", RegistryView::Native, EntryHive::CurrentUser, ""}));

    // Each name is asked once for the run; without one, the SID stands for it.
    accounts.names.clear();
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(main.Rows()[0].SourceName(), "User: PC\\Ann");
    EXPECT_EQ(accounts.namesAsked, 1);
    TMain next{view, ports};
    next.Catalogue().ApplySortState(0, true);
    next.Catalogue().LoadPrograms();
    EXPECT_EQ(next.Rows()[0].SourceName(), "User: " + kOther);
}

TEST_F(SourcesTest, EachCommandActsOnTheEntryInItsOwnHive)
{
    main.Catalogue().LoadPrograms();
    // Properties writes where the entry is; the other "Shared" keys stay.
    dialogs.onProperties = [](TPropertiesForm& form) { form.Display = "Ann's renamed app"; };
    Focus("Ann's app");
    main.Guard([&] { main.Editing().EditClick(); });
    EXPECT_EQ(registry.Find(RootKey::Users, kOther + "\\" + kUninstallPath + "\\Shared")->values[0].second.Text(),
              "Ann's renamed app");
    EXPECT_EQ(registry.Find(RootKey::CurrentUser, kUninstallPath + "\\Shared")->values[0].second.Text(), "My app");

    // Delete and Undo, for the current user's and the other user's entry.
    for (const auto& [caption, root, path] :
         {std::tuple{"My app", RootKey::CurrentUser, kUninstallPath + "\\Shared"},
          std::tuple{"Editor", RootKey::Users, kOther + "\\" + kUninstallPath + "\\{4F3C-11}_is1"}}) {
        SCOPED_TRACE(caption);
        Focus(caption);
        main.Guard([&] { main.Editing().DeleteClick(); });
        EXPECT_EQ(registry.Find(root, path), nullptr);
        EXPECT_NE(registry.Find(RootKey::LocalMachine, kUninstallPath + "\\Shared"), nullptr);
        main.Guard([&] { main.Editing().UndoClick(); });
        ASSERT_NE(registry.Find(root, path), nullptr);
        EXPECT_NE(Listed().find(caption), std::string::npos);
    }
    EXPECT_TRUE(dialogs.failures.empty());
    // The changes file names each key where the registry editor puts it back.
    const std::string& changes = writer.files.begin()->second;
    EXPECT_NE(changes.find("[HKEY_USERS\\" + kOther + "\\" + kUninstallPath + "\\Shared]"), std::string::npos);
    EXPECT_NE(changes.find("[HKEY_CURRENT_USER\\" + kUninstallPath + "\\Shared]"), std::string::npos);
}

TEST_F(SourcesTest, BackupWritesEveryHiveUnderItsRealPath)
{
    main.Catalogue().LoadPrograms();
    dialogs.savedAs = "D:\\b.reg";
    main.Backup().BackupMMClick();
    const std::string& file = writer.files["D:\\b.reg"];
    const std::string machine = "[HKEY_LOCAL_MACHINE\\" + kUninstallPath;
    const std::string mine = "[HKEY_CURRENT_USER\\" + kUninstallPath;
    const std::string ann = "[HKEY_USERS\\" + kOther + "\\" + kUninstallPath;
    const size_t at = file.find(machine + "\\Shared]"), atMine = file.find(mine + "\\Chat]"),
                 atAnn = file.find(ann + "\\{4F3C-11}_is1]");
    EXPECT_NE(at, std::string::npos);
    EXPECT_GT(atMine, at);
    EXPECT_GT(atAnn, atMine);
    EXPECT_NE(atAnn, std::string::npos);
    EXPECT_EQ(file.find("Ghost"), std::string::npos);  // .DEFAULT, _Classes and our own hive again
}

// The live list follows each Uninstall key, or, while one is missing, the
// key above where it will appear; and HKEY_USERS for a user signing in.
TEST_F(SourcesTest, TheKeysFollowedAreTheNearestThatExist)
{
    const auto key = [](RootKey root, const std::string& path, bool subtree) {
        return WatchedKey{root, path, RegistryView::Native, subtree};
    };
    const std::string version = kUninstallPath.substr(0, kUninstallPath.rfind('\\'));
    const WatchedKey users = key(RootKey::Users, "", false), machine = key(RootKey::LocalMachine, kUninstallPath, true);
    const WatchedKey myVersion = key(RootKey::CurrentUser, version, false);
    const struct {
        RootKey root;
        std::string dropped;  // cumulative: each case drops more
        std::vector<WatchedKey> followed;
    } cases[] = {
        {RootKey::Users, "", {users, machine, key(RootKey::CurrentUser, kUninstallPath, true),
                              key(RootKey::Users, kOther + "\\" + kUninstallPath, true)}},
        {RootKey::CurrentUser, kUninstallPath, {users, machine, myVersion,
                                                key(RootKey::Users, kOther + "\\" + kUninstallPath, true)}},
        {RootKey::Users, kOther + "\\Software", {users, machine, myVersion, key(RootKey::Users, kOther, false)}},
        {RootKey::Users, kOther, {users, machine, myVersion}},  // signed out: no source
    };
    for (const auto& c : cases) {
        if (!c.dropped.empty()) {
            ASSERT_TRUE(registry.Drop(c.root, c.dropped)) << c.dropped;
        }
        main.Catalogue().LoadPrograms();
        EXPECT_EQ(WatchedKeys(registry, main.Catalogue().Sources()), c.followed) << c.dropped;
    }
    // A hive gone since the load: the key above it is HKEY_USERS, followed once.
    const std::vector<EntrySource> gone{{EntryHive::OtherUser, RegistryView::Native, "S-1-5-21-9", "Bo"}};
    EXPECT_EQ(WatchedKeys(registry, gone), (std::vector<WatchedKey>{users}));
}

TEST_F(SourcesTest, AnotherUsersUninstallerIsRefusedANoRemoveEntryAsksOnceMore)
{
    main.Catalogue().LoadPrograms();
    Focus("Editor");
    main.Job().uninstallClick();
    EXPECT_TRUE(runner.started.empty());
    ASSERT_EQ(dialogs.errorBoxes.size(), 1u);
    EXPECT_NE(dialogs.errorBoxes[0].find("PC\\Ann"), std::string::npos);
    EXPECT_FALSE(main.Job().Running);

    auto& chat = *registry.Find(RootKey::CurrentUser, kUninstallPath + "\\Chat");
    FakeRegistry::Set(chat, "NoRemove", kDword, std::string("\x01\x00\x00\x00", 4));
    main.Catalogue().LoadPrograms();
    Focus("Chat");
    dialogs.answerYes = false;
    main.Job().uninstallClick();
    EXPECT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_TRUE(runner.started.empty());
    dialogs.answerYes = true;
    main.Job().uninstallClick();
    EXPECT_EQ(dialogs.confirmations.size(), 2u);
    EXPECT_EQ(runner.started, std::vector<std::string>{"C:\\Users\\Me\\AppData\\Local\\Chat\\Update.exe --uninstall "});
    EXPECT_TRUE(main.Job().IsRunning(main.Rows()[1]));
    EXPECT_FALSE(main.Job().IsRunning(main.Rows()[0]));
}

TEST_F(SourcesTest, ModifyRepairAndQuietRemovalRefuseAndAskAsAddRemoveDoes)
{
    const std::string code = "{12345678-ABCD-ef01-2345-6789ABCDEF01}";
    Add(RootKey::Users, kOther + "\\", code, "Ann's tool", "MsiExec.exe /X" + code);
    FakeRegistry::Set(*registry.Find(RootKey::CurrentUser, kUninstallPath + "\\Chat"), "NoRemove", kDword,
                      std::string("\x01\x00\x00\x00", 4));
    main.Catalogue().LoadPrograms();
    Focus("Ann's tool");
    EXPECT_FALSE(main.Job().CanModify() || main.Job().CanRepair());
    main.Job().ModifyClick();
    main.Job().RepairClick();
    EXPECT_EQ(dialogs.errorBoxes.size(), 2u);
    EXPECT_TRUE(runner.started.empty());

    // Quietly, a NoRemove entry is asked about too: "how" yes, "anyway" no.
    Focus("Chat");
    dialogs.whileOpen = [&] { dialogs.answerYes = dialogs.confirmations.size() < 2; };
    main.Job().RemoveQuietlyClick();
    ASSERT_EQ(dialogs.confirmations.size(), 2u);
    EXPECT_NE(dialogs.confirmations[1].find("says it should not be removed"), std::string::npos);
    EXPECT_TRUE(runner.started.empty());
}

TEST_F(SourcesTest, AQueueLeavesOtherUsersEntriesOutAndRunsTheRestInTheirOwnHives)
{
    main.Catalogue().LoadPrograms();
    for (size_t i = 0; i < main.Rows().size(); ++i) view.selected.push_back(static_cast<int>(i));
    view.focused = 0;
    dialogs.quietChoice = true;
    main.Job().uninstallClick();
    ASSERT_EQ(dialogs.queueQuestions.size(), 1u);
    EXPECT_NE(dialogs.queueQuestions[0].find("Uninstall 3 programs"), std::string::npos) << dialogs.queueQuestions[0];
    EXPECT_NE(dialogs.queueQuestions[0].find("2 belonging to other users are left out"), std::string::npos);
    while (main.Job().Running) runner.Finish();
    ASSERT_EQ(runner.started.size(), 3u);
    EXPECT_EQ(runner.started[0], "\"C:\\Users\\Me\\AppData\\Local\\Chat\\Update.exe\" --uninstall -s");  // quietly
    for (const std::string& started : runner.started) EXPECT_EQ(started.find("Ann"), std::string::npos) << started;
    EXPECT_EQ(main.Log().Records()[0].message, "0 of 3 programs uninstalled");
}

}  // namespace
