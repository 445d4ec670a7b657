#include <gtest/gtest.h>

#include "editing/PropFrm.h"
#include "fakes/FakeFileSystem.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

// The dialog's window: answers the information box and the open-file dialog
// as told, and records what it was asked in order.
class FakePropertiesView : public PropertiesView {
public:
    std::vector<std::string> events;
    std::vector<OpenDialogState> opened;  // the dialog as it was run
    bool answerOk = true;
    bool confirm = false;
    std::string chosen;

    bool AskOkCancel(const std::string& text) override
    {
        events.push_back("ask:" + text);
        return answerOk;
    }
    bool ExecuteOpenDialog(OpenDialogState& dialog) override
    {
        events.push_back("open");
        opened.push_back(dialog);
        if (confirm) dialog.fileName = chosen;
        return confirm;
    }
    void FocusDisplay() override { events.push_back("focus:Display"); }
    void FocusUninstall() override { events.push_back("focus:Uninstall"); }
};

class PropertiesFormTest : public ::testing::Test {
protected:
    PropertiesFormTest()
    {
        files.AddDirectory("C:\\App");
        files.AddDirectory("C:\\Program Files\\App");
        files.AddDirectory("D:\\Tools");
        files.AddFile("C:\\App\\remove.exe");
        files.AddFile("C:\\Program Files\\App\\unins000.exe");
    }
    void Confirm(const std::string& path)
    {
        view.confirm = true;
        view.chosen = path;
    }
    void Cancel() { view.confirm = false; }
    const OpenDialogState& LastOpened() const { return view.opened.back(); }

    FakeFileSystem files;
    FakePropertiesView view;
    TPropertiesForm form{files};
};

TEST(FirstToken, CommandLineRules)
{
    struct Case {
        const char* text;
        const char* token;
    } cases[] = {
        {"C:\\App\\remove.exe /S", "C:\\App\\remove.exe"},
        {"\"C:\\Program Files\\App\\u.exe\" /S", "C:\\Program Files\\App\\u.exe"},
        {"C:\\Program\" Files\"\\u.exe /S", "C:\\Program Files\\u.exe"},  // quotes anywhere switch
        {"   \"\" \"\"  C:\\a.exe x", "C:\\a.exe"},                         // empty pairs skipped up front
        {"\t\x01 C:\\a.exe\tx", "C:\\a.exe"},                               // control characters are blanks
        {"\"C:\\a\tb.exe\" x", "C:\\a\tb.exe"},                             // but not inside quotes
        {"C:\\Caf\xe9\\a.exe /x", "C:\\Caf\xe9\\a.exe"},                    // high bytes are letters
        {"\"C:\\open quote", "C:\\open quote"},
        {"", ""},
        {"   ", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FirstToken(c.text), c.token) << c.text;

    // Room for 256 characters, never more.
    const std::string fits(256, 'a');
    EXPECT_EQ(FirstToken(fits + " /S"), fits);
    EXPECT_EQ(FirstToken("\"" + fits + "\""), fits);
    EXPECT_EQ(FirstToken(fits + "b /S"), "");
    EXPECT_EQ(FirstToken(std::string(100000, 'x')), "");
}

TEST(FileNameRules, ValidityPartsAndQuoting)
{
    EXPECT_TRUE(ValidFileName("C:\\App\\a.exe"));
    EXPECT_FALSE(ValidFileName(""));
    for (const char* bad : {"a<b", "a>b", "a\"b", "a[b", "a]b", "a|b"}) EXPECT_FALSE(ValidFileName(bad)) << bad;

    EXPECT_EQ(FilePathPart("C:\\App\\a.exe"), "C:\\App\\");
    EXPECT_EQ(FileNamePart("C:\\App\\a.exe"), "a.exe");
    EXPECT_EQ(FilePathPart("C:a.exe"), "C:");
    EXPECT_EQ(FileNamePart("C:a.exe"), "a.exe");
    EXPECT_EQ(FileNamePart("a.exe"), "a.exe");
    EXPECT_EQ(FileNamePart("C:\\App\\"), "");

    EXPECT_EQ(QuotedPath("C:\\Program Files\\App\\u.exe"), "\"C:\\Program Files\\App\\u.exe\"");
    EXPECT_EQ(QuotedPath("C:\\App\\remove.exe"), "C:\\App\\remove.exe");
    EXPECT_EQ(QuotedPath("\"C:\\A B\\x.exe\""), "\"C:\\A B\\x.exe\"");
}

TEST_F(PropertiesFormTest, CloseQuery)
{
    struct Case {
        const char* display;
        const char* uninstall;
        bool ok;
        bool answerOk;
        bool mayClose;
        bool okAfter;
        bool asked;
    } cases[] = {
        {"Name", "cmd", true, true, true, true, false},
        {"   ", "cmd", true, true, true, true, false},  // blanks are not empty
        {"", "cmd", true, true, false, true, true},     // OK in the box: stay and correct
        {"Name", "", true, false, true, false, true},   // Cancel in the box: closes as Cancel
        {"", "", false, true, true, false, false},      // Cancel, Escape, close box: no message
    };
    for (const Case& c : cases) {
        view.events.clear();
        view.answerOk = c.answerOk;
        form.Display = c.display;
        form.Uninstall.Text = c.uninstall;
        bool ok = c.ok;
        EXPECT_EQ(form.FormCloseQuery(view, ok), c.mayClose) << c.display << "|" << c.uninstall;
        EXPECT_EQ(ok, c.okAfter) << c.display << "|" << c.uninstall;
        EXPECT_EQ(view.events.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(view.events[0], "ask:Some informations missing. Please correct it.");
        }
        EXPECT_EQ(form.Display, c.display);  // texts untouched
        EXPECT_EQ(form.Uninstall.Text, c.uninstall);
    }
    form.FormShow(view);
    EXPECT_EQ(view.events.back(), "focus:Display");
}

TEST_F(PropertiesFormTest, BrowseDialogSettings)
{
    form.BrowseClick(view);
    const OpenDialogState& d = LastOpened();
    EXPECT_EQ(d.title, "Browse");
    EXPECT_EQ(d.filter,
              "Executable Files (*.exe;*.pif;*.lnk;*.com;*.bat)|*.exe;*.pif;*.lnk;*.com;*.bat|All files (*.*)|*.*");
    EXPECT_EQ(d.filterIndex, 1);
    EXPECT_TRUE(d.hideReadOnly);
}

TEST_F(PropertiesFormTest, BrowseRules)
{
    struct Case {
        const char* name;        // before the browse
        const char* command;     // before the browse
        const char* chosen;      // null: cancelled
        const char* initialDir;  // as the dialog opened
        const char* fileName;    // pre-selected
        const char* nameAfter;
        const char* commandAfter;
    } cases[] = {
        {"", "", "C:\\Program Files\\App\\unins000.exe", "", "", "unins000.exe",
         "\"C:\\Program Files\\App\\unins000.exe\""},
        {"", "", "C:\\App\\remove.exe", "", "", "remove.exe", "C:\\App\\remove.exe"},
        {"", "C:\\App\\remove.exe /S", nullptr, "C:\\App\\", "C:\\App\\remove.exe", "remove.exe",
         "C:\\App\\remove.exe /S"},
        {"Kept", "C:\\App\\remove.exe /S", "D:\\Tools\\new.exe", "C:\\App\\", "C:\\App\\remove.exe", "Kept",
         "D:\\Tools\\new.exe"},  // arguments dropped, the name never changed
        // The whole text when it names a file, blanks and all.
        {"", "C:\\Program Files\\App\\unins000.exe", nullptr, "C:\\Program Files\\App\\",
         "C:\\Program Files\\App\\unins000.exe", "unins000.exe", "C:\\Program Files\\App\\unins000.exe"},
        // Otherwise the first token, quotes dropped.
        {"", "\"C:\\Program Files\\App\\gone.exe\" /x", nullptr, "C:\\Program Files\\App\\",
         "C:\\Program Files\\App\\gone.exe", "gone.exe", "\"C:\\Program Files\\App\\gone.exe\" /x"},
        // A directory that does not exist is no initial directory; the name part still counts.
        {"", "E:\\Nowhere\\x.exe", nullptr, "", "E:\\Nowhere\\x.exe", "x.exe", "E:\\Nowhere\\x.exe"},
        // No file-name part: the directory only.
        {"", "C:\\App\\", nullptr, "C:\\App\\", "", "", "C:\\App\\"},
        {"", "rundll32.exe shell32.dll", nullptr, "", "rundll32.exe", "rundll32.exe", "rundll32.exe shell32.dll"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        TPropertiesForm fresh{files};
        FakePropertiesView v;
        fresh.Display = c.name;
        fresh.Uninstall.Text = c.command;
        v.confirm = c.chosen != nullptr;
        v.chosen = c.chosen ? c.chosen : "";
        fresh.BrowseClick(v);
        ASSERT_EQ(v.opened.size(), 1u);
        EXPECT_EQ(v.opened[0].initialDir, c.initialDir);
        EXPECT_EQ(v.opened[0].fileName, c.fileName);
        EXPECT_EQ(fresh.Display, c.nameAfter);
        EXPECT_EQ(fresh.Uninstall.Text, c.commandAfter);
    }
}

TEST_F(PropertiesFormTest, InvalidStartingFileKeepsThePreviousFileNameAndStillNamesTheProgram)
{
    Confirm("C:\\App\\remove.exe");
    form.BrowseClick(view);
    form.Display.clear();
    form.Uninstall.Text = "C:\\a|b.exe /x";
    Cancel();
    form.BrowseClick(view);
    EXPECT_EQ(LastOpened().fileName, "C:\\App\\remove.exe");
    EXPECT_EQ(form.Display, "a|b.exe");  // the working name is the starting file as taken
    EXPECT_EQ(form.Uninstall.Text, "C:\\a|b.exe /x");

    // An empty field is no valid starting file either.
    form.Display = "x";
    form.Uninstall.Text.clear();
    form.BrowseClick(view);
    EXPECT_EQ(LastOpened().fileName, "C:\\App\\remove.exe");
    EXPECT_EQ(form.Uninstall.Text, "");
}

TEST_F(PropertiesFormTest, InitialDirectoryCarriesOverUnlessTheFieldNamesAnExistingOne)
{
    Confirm("C:\\Program Files\\App\\unins000.exe");
    form.BrowseClick(view);
    EXPECT_EQ(form.Uninstall.Dialog.initialDir, "C:\\Program Files\\App\\");

    // A later use of the dialog, filled afresh by its caller.
    form.Display = "Other";
    form.Uninstall.Text = "setup /remove";
    Cancel();
    form.BrowseClick(view);
    EXPECT_EQ(LastOpened().initialDir, "C:\\Program Files\\App\\");

    form.Uninstall.Text = "D:\\Tools\\x.exe /remove";
    form.BrowseClick(view);
    EXPECT_EQ(LastOpened().initialDir, "D:\\Tools\\");
    form.Uninstall.Text = "";
    form.BrowseClick(view);
    EXPECT_EQ(LastOpened().initialDir, "D:\\Tools\\");  // what the field set last time stays
}

TEST_F(PropertiesFormTest, EventRunsAfterTheFocusAndBeforeTheFieldChanges)
{
    std::vector<std::string> seen;
    form.Uninstall.OnAfterDialog = [&](TFilenameEdit& sender, std::string& name, bool& action) {
        seen.push_back(view.events.back() + "|" + sender.Text + "|" + name + "|" + (action ? "yes" : "no"));
    };
    form.Uninstall.Text = "C:\\App\\remove.exe /S";
    Confirm("C:\\Program Files\\App\\unins000.exe");
    form.BrowseClick(view);
    Cancel();
    form.BrowseClick(view);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "focus:Uninstall|C:\\App\\remove.exe /S|C:\\Program Files\\App\\unins000.exe|yes",
                        "focus:Uninstall|\"C:\\Program Files\\App\\unins000.exe\"|C:\\Program Files\\App\\unins000.exe|no",
                    }));
}

}  // namespace
