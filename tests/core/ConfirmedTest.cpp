// What arrives while a box is open (an uninstaller's end report, a tray
// command, a new log record) never turns a command onto another entry or
// record than the one its box named.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kApp = "C:\\App\\app.exe";
const std::string kGone = "C:\\App\\gone.exe";

// A program with three listed entries, A, B and C, all good.
struct Program : CoreHarness {
    Program()
    {
        files.AddFile(kApp);
        for (const char* name : {"A", "B", "C"}) Entry(std::string("k") + name, std::string(name) + " app", kApp);
        main.FormCreate("C:\\Q\\Quillet.exe");
    }
    bool Listed(const std::string& subkey) { return main.Catalogue().IndexOf({subkey}) >= 0; }
    bool InRegistry(const std::string& subkey)
    {
        return registry.Find(RootKey::LocalMachine, kUninstallPath + "\\" + subkey) != nullptr;
    }
    void Uninstalled(const std::string& subkey)
    {
        registry.Drop(RootKey::LocalMachine, kUninstallPath + "\\" + subkey);
        runner.Finish();
    }
    void Focus(const std::string& subkey) { view.focused = main.Catalogue().IndexOf({subkey}); }
    // The event happens once, while the next box is open.
    void WhileOpen(std::function<void()> event)
    {
        dialogs.whileOpen = [&whileOpen = dialogs.whileOpen, event] {
            const auto once = event;  // clearing the hook destroys this closure
            whileOpen = nullptr;
            once();
        };
    }
    std::string TopMessage() const { return main.Log().Size() ? main.Log().Records()[0].message : ""; }
};

TEST(Confirmed, DeleteActsOnTheEntryItsQuestionNamed)
{
    const std::string kNotListed = "\"B app\" is no longer in the list; nothing was deleted.";
    struct Case {
        const char* what;
        std::function<void(Program&)> meanwhile;
        bool bDeleted;  // the key of B went through the Delete
        bool cListed;   // C stays unless the event itself removed it
        std::string status;
    } cases[] = {
        {"A's job ends, C moves into B's row", [](Program& t) { t.Uninstalled("kA"); }, true, true, ""},
        {"B's own uninstaller removed it", [](Program& t) { t.Uninstalled("kB"); }, false, true, kNotListed},
        {"the list empties",
         [](Program& t) {
             t.registry.Drop(RootKey::LocalMachine, kUninstallPath + "\\kC");
             t.Uninstalled("kB");
             t.registry.Drop(RootKey::LocalMachine, kUninstallPath + "\\kA");
             t.main.Catalogue().LoadPrograms();
         },
         false, false, kNotListed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program t;  // a fresh program per case
        t.Focus("kA");
        t.main.Job().uninstallClick();
        t.Focus("kB");
        t.WhileOpen([&] { c.meanwhile(t); });
        t.main.Guard([&] { t.main.Editing().DeleteClick(); });
        EXPECT_EQ(t.dialogs.confirmations.back(),
                  "Are you really want to delete shortcut to uninstall \"B app\" application?");
        EXPECT_TRUE(t.dialogs.failures.empty());
        EXPECT_FALSE(t.Listed("kB"));
        EXPECT_EQ(t.InRegistry("kC"), c.cListed);
        EXPECT_EQ(t.Listed("kC"), c.cListed);
        for (const LogRecord& r : t.main.Log().Records()) EXPECT_EQ(r.message.find("\"C app\""), std::string::npos);
        EXPECT_EQ(t.TopMessage() == "Uninstall shortcut for \"B app\" application deleted!", c.bDeleted);
        EXPECT_EQ(t.view.panels[0], c.status);
    }
}

TEST(Confirmed, TrayUninstallIsRefusedWhileABoxIsOpen)
{
    Program t;
    t.main.Tray().TrayMenuPopup();
    const TrayItem b = t.main.Tray().TrayItems.at(1);
    t.Focus("kB");
    t.WhileOpen([&] { t.main.Tray().TrayUninstallClick(b); });
    t.main.Editing().DeleteClick();
    EXPECT_TRUE(t.runner.started.empty());
    EXPECT_EQ(t.view.broughtToFront, 1);  // the user sees the open box
    EXPECT_FALSE(t.InRegistry("kB"));
    EXPECT_FALSE(t.main.Job().Running);
    // With the box closed, the tray starts its job again.
    t.main.Tray().TrayUninstallClick(t.main.Tray().TrayItems.at(2));
    EXPECT_EQ(t.runner.started.size(), 1u);
}

TEST(Confirmed, PropertiesOfAnEntryGoneMeanwhileWritesNothing)
{
    Program t;
    t.Focus("kB");
    t.WhileOpen([&] { t.Uninstalled("kB"); });
    t.dialogs.onProperties = [](TPropertiesForm& form) { form.Display = "Written"; };
    t.main.Guard([&] { t.main.Editing().EditClick(); });
    EXPECT_FALSE(t.InRegistry("kB"));  // not brought back
    EXPECT_TRUE(t.dialogs.failures.empty());
    EXPECT_EQ(t.view.panels[0], "\"B app\" is no longer in the list; nothing was changed.");
}

TEST(Confirmed, DeleteBadDeletesTheSetItCountedOrAsksAgain)
{
    struct Case {
        const char* what;
        std::function<void(Program&)> meanwhile;
        std::vector<std::string> questions;
        std::vector<std::string> left;  // bad entries still listed afterwards
        std::string status;
    } cases[] = {
        {"nothing changes", [](Program&) {}, {"1"}, {}, ""},
        {"another goes bad: asked again",
         [](Program& t) {
             t.Entry("kE", "E app", kGone);
             t.main.Catalogue().LoadPrograms();
         },
         {"1", "2"}, {}, ""},
        {"the bad one is mended: nothing to ask",
         [](Program& t) {
             t.files.AddFile(kGone);
             t.main.Catalogue().LoadPrograms();
         },
         {"1"}, {}, "No bad shortcuts are left; nothing was deleted."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program t;
        t.Entry("kD", "D app", kGone);
        t.main.Catalogue().LoadPrograms();
        t.WhileOpen([&] { c.meanwhile(t); });
        t.main.Editing().DeleteBadBtnClick();
        std::vector<std::string> questions;
        for (const std::string& q : t.dialogs.confirmations)
            questions.push_back(q.substr(std::string("Are you sure want to delete ").size(), 1));
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(t.main.Catalogue().BadCount, 0);
        EXPECT_EQ(t.Listed("kD"), c.status.size() > 0);  // mended, so kept
        EXPECT_EQ(t.view.panels[0], c.status);
        for (const char* good : {"kA", "kB", "kC"}) EXPECT_TRUE(t.InRegistry(good)) << good;
    }
}

TEST(Confirmed, EditLogWritesTheCommentToTheRecordItShowed)
{
    Program t;
    t.main.Logging().AddLog("shown", "old", kLogInformation);
    t.view.logFocused = 0;
    t.dialogs.typedComment = "note";

    // A's uninstaller ends while the editor is open: its record goes on top.
    t.Focus("kA");
    t.main.Job().uninstallClick();
    t.WhileOpen([&] { t.Uninstalled("kA"); });
    t.main.Logging().EditlogPMClick();
    ASSERT_EQ(t.main.Log().Size(), 2u);
    EXPECT_EQ(t.main.Log().Records()[0].message, "Application \"A app\" successfuly uninstalled.");
    EXPECT_NE(t.main.Log().Records()[0].comment, "note");
    EXPECT_EQ(t.main.Log().Records()[1].message, "shown");
    EXPECT_EQ(t.main.Log().Records()[1].comment, "note");

    // The log is cleared meanwhile: nothing to write to.
    t.view.logFocused = 1;
    t.dialogs.answerYes = true;
    t.WhileOpen([&] { t.main.Logging().ClearLogPMClick(); });
    t.main.Logging().EditlogPMClick();
    EXPECT_EQ(t.main.Log().Size(), 0u);
    EXPECT_NE(t.view.panels[0].find("is gone; its comment was not changed."), std::string::npos) << t.view.panels[0];
}

}  // namespace
