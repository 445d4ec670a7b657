#pragma once
#include <functional>
#include <string>
#include <vector>

namespace quillet {

class FileSystem;

inline constexpr const char* kBrowseTitle = "Browse";
inline constexpr const char* kBrowseFilter =
    "Executable Files (*.exe;*.pif;*.lnk;*.com;*.bat)|*.exe;*.pif;*.lnk;*.com;*.bat|All files (*.*)|*.*";
inline constexpr const char* kInformationMissing = "Some informations missing. Please correct it.";
// Room for the first token of a command line, as the browse rule collects it.
inline constexpr size_t kTokenRoom = 256;

// The open-file dialog that belongs to a file name field. It lives as long as
// the field, so what it held after one use is where the next use starts.
struct OpenDialogState {
    std::string title = kBrowseTitle;
    std::string filter = kBrowseFilter;  // "caption|patterns|caption|patterns"
    int filterIndex = 1;                  // 1-based: the first entry
    bool hideReadOnly = true;             // the dialog's only option
    std::string initialDir;
    std::string fileName;  // pre-selected; the chosen full path after a confirmed use
};

// First token of a command line: leading blanks and control characters (and
// empty "" pairs among them) skipped, then up to the next blank or control
// character outside quotes, quotes dropped. A token longer than kTokenRoom
// does not fit and yields the empty text.
std::string FirstToken(const std::string& commandLine);
// Not empty and none of < > " [ ] |.
bool ValidFileName(const std::string& name);
// Everything up to and including the last backslash or colon / everything after it.
std::string FilePathPart(const std::string& name);
std::string FileNamePart(const std::string& name);
// A chosen path as the command field takes it: in double quotes when it holds
// a blank and does not already begin with a quote.
std::string QuotedPath(const std::string& path);

// What the properties dialog needs of its window while it is open.
class PropertiesView {
public:
    virtual ~PropertiesView() = default;
    // Information box with "OK" and "Cancel"; true for OK.
    virtual bool AskOkCancel(const std::string& text) = 0;
    // The platform's open-file dialog; true when the user confirmed, and
    // then `dialog.fileName` is the chosen file's full path.
    virtual bool ExecuteOpenDialog(OpenDialogState& dialog) = 0;
    // Keyboard focus to the name field / the command field, if it can take it.
    virtual void FocusDisplay() = 0;
    virtual void FocusUninstall() = 0;
};

// The command field: free text with a browse button (and Alt+Down).
class TFilenameEdit {
public:
    using TExecOpenDialogEvent = std::function<void(TFilenameEdit& sender, std::string& name, bool& action)>;

    std::string Text;
    OpenDialogState Dialog;
    TExecOpenDialogEvent OnAfterDialog;

    // The browse button: starting file from the text, the dialog, the event,
    // and on confirmation the chosen path in place of the whole text.
    void Browse(FileSystem& files, PropertiesView& view);

private:
    std::string StartingFile(FileSystem& files);
};

// The properties dialog's rules. Callers fill Display, Uninstall.Text and
// Caption, show it modally through the Dialogs port and read both texts back.
class TPropertiesForm {
public:
    explicit TPropertiesForm(FileSystem& files);
    TPropertiesForm(const TPropertiesForm&) = delete;
    TPropertiesForm& operator=(const TPropertiesForm&) = delete;

    std::string Caption = "Edit program properties";
    std::string Display;
    TFilenameEdit Uninstall;
    // Why the entry counts as good or bad, shown under the fields, and its
    // details read-only under that, a line each; empty for a new one.
    std::string Reason;
    std::vector<std::string> Details;

    void FormShow(PropertiesView& view) { view.FocusDisplay(); }
    // Every attempt to close: true when the dialog may close. `ok` is the
    // pending result; the user may turn an OK into Cancel.
    bool FormCloseQuery(PropertiesView& view, bool& ok);
    void BrowseClick(PropertiesView& view) { Uninstall.Browse(files_, view); }
    // An empty name takes the file-name part of the browsed name.
    void UninstallAfterDialog(TFilenameEdit& sender, std::string& name, bool& action);

private:
    FileSystem& files_;
};

}  // namespace quillet
