// The command field's browse button: the starting file taken from whatever
// the field holds (a whole existing name, else the command's first token),
// what the open dialog is given, what the name field gets, and what the
// field holds afterwards. Two browses in a row, so what the dialog kept from
// the first is where the second starts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "Check.h"
#include "editing/PropFrm.h"
#include "fakes/FakeFileSystem.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

class View : public PropertiesView {
public:
    bool confirm = false;
    std::string chosen;
    OpenDialogState seen;
    int opened = 0;
    int focusUninstall = 0;

    bool AskOkCancel(const std::string&) override { return true; }
    bool ExecuteOpenDialog(OpenDialogState& dialog) override
    {
        seen = dialog;
        ++opened;
        if (confirm) dialog.fileName = chosen;
        return confirm;
    }
    void FocusDisplay() override {}
    void FocusUninstall() override { ++focusUninstall; }
};

bool IsSubsequence(const std::string& part, const std::string& whole)
{
    size_t i = 0;
    for (char c : whole)
        if (i < part.size() && part[i] == c) ++i;
    return i == part.size();
}

bool Blank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool Valid(const std::string& name) { return !name.empty() && name.find_first_of("<>\"[]|") == std::string::npos; }

size_t NameStart(const std::string& name)
{
    const size_t last = name.find_last_of("\\:");
    return last == std::string::npos ? 0 : last + 1;
}

void Browse(FuzzedDataProvider& input, FakeFileSystem& files, TPropertiesForm& form)
{
    form.Display = input.ConsumeBool() ? std::string() : input.ConsumeRandomLengthString(16);
    form.Uninstall.Text = input.ConsumeRandomLengthString(300);
    View view;
    view.confirm = input.ConsumeBool();
    view.chosen = input.ConsumeRandomLengthString(64);

    const std::string text = form.Uninstall.Text;
    const std::string display = form.Display;
    const OpenDialogState before = form.Uninstall.Dialog;
    const auto resolved = [&](const std::string& n) {
        return n.size() >= 2 && n[1] == ':' ? n : files.currentDirectory + n;
    };

    const std::string token = FirstToken(text);
    // The places the rule looks at may exist or not, as the input says.
    if (input.ConsumeBool()) files.AddFile(resolved(text));
    if (input.ConsumeBool()) files.AddDirectory(token.substr(0, NameStart(token)));

    // The token: within its room, no quotes, a piece of the text; without
    // quotes, simply the first run of non-blank characters.
    FUZZ_CHECK(token.size() <= kTokenRoom);
    FUZZ_CHECK(token.find('"') == std::string::npos);
    FUZZ_CHECK(IsSubsequence(token, text));
    if (text.find('"') == std::string::npos) {
        size_t begin = 0;
        while (begin < text.size() && Blank(text[begin])) ++begin;
        size_t end = begin;
        while (end < text.size() && !Blank(text[end])) ++end;
        FUZZ_CHECK(token == (end - begin <= kTokenRoom ? text.substr(begin, end - begin) : std::string()));
    }

    const std::string start = files.FileExists(text) ? text : token;
    std::string initialDir = before.initialDir, fileName = before.fileName, working = start;
    if (Valid(start)) {
        const std::string directory = start.substr(0, NameStart(start));
        if (!directory.empty() && files.DirectoryExists(directory)) initialDir = directory;
        fileName = Valid(start.substr(NameStart(start))) ? start : std::string();
        working = fileName;
    }

    std::string afterName;
    bool afterAction = !view.confirm;
    const auto original = form.Uninstall.OnAfterDialog;
    form.Uninstall.OnAfterDialog = [&](TFilenameEdit& sender, std::string& name, bool& action) {
        afterName = name;
        afterAction = action;
        original(sender, name, action);
    };
    form.BrowseClick(view);
    form.Uninstall.OnAfterDialog = original;

    FUZZ_CHECK(view.opened == 1 && view.focusUninstall == 1);
    FUZZ_CHECK(view.seen.initialDir == initialDir);
    FUZZ_CHECK(view.seen.fileName == fileName);
    FUZZ_CHECK(view.seen.title == before.title && view.seen.filter == before.filter);
    FUZZ_CHECK(view.seen.filterIndex == before.filterIndex && view.seen.hideReadOnly == before.hideReadOnly);
    FUZZ_CHECK(afterAction == view.confirm);
    if (view.confirm) {
        const bool quote = view.chosen.find(' ') != std::string::npos && view.chosen[0] != '"';
        FUZZ_CHECK(afterName == view.chosen);
        FUZZ_CHECK(form.Uninstall.Text == (quote ? "\"" + view.chosen + "\"" : view.chosen));
        FUZZ_CHECK(form.Uninstall.Dialog.initialDir == view.chosen.substr(0, NameStart(view.chosen)));
    } else {
        FUZZ_CHECK(afterName == working);
        FUZZ_CHECK(form.Uninstall.Text == text);
        FUZZ_CHECK(form.Uninstall.Dialog.initialDir == initialDir);
    }
    // Only an empty name is filled, from the name part of what was browsed.
    const std::string expectedDisplay =
        display.empty() && !afterName.empty() ? afterName.substr(NameStart(afterName)) : display;
    FUZZ_CHECK(form.Display == expectedDisplay);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    FakeFileSystem files;
    TPropertiesForm form(files);
    Browse(input, files, form);
    Browse(input, files, form);
    return 0;
}
