#include "editing/PropFrm.h"

#include "catalogue/FileSystem.h"

namespace quillet {

namespace {

// Blanks and control characters end a token; bytes above 127 are letters.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

size_t NamePartStart(const std::string& name)
{
    const size_t last = name.find_last_of("\\:");
    return last == std::string::npos ? 0 : last + 1;
}

}  // namespace

std::string FirstToken(const std::string& commandLine)
{
    size_t i = 0;
    const size_t n = commandLine.size();
    for (;;) {
        while (i < n && IsBlank(commandLine[i])) ++i;
        if (i + 1 < n && commandLine[i] == '"' && commandLine[i + 1] == '"') i += 2;
        else break;
    }
    std::string token;
    bool quoted = false;
    for (; i < n && (quoted || !IsBlank(commandLine[i])); ++i) {
        if (commandLine[i] == '"') {
            quoted = !quoted;
            continue;
        }
        // A cut path would name another file: better none at all.
        if (token.size() == kTokenRoom) return std::string();
        token += commandLine[i];
    }
    return token;
}

bool ValidFileName(const std::string& name)
{
    return !name.empty() && name.find_first_of("<>\"[]|") == std::string::npos;
}

std::string FilePathPart(const std::string& name) { return name.substr(0, NamePartStart(name)); }

std::string FileNamePart(const std::string& name) { return name.substr(NamePartStart(name)); }

std::string QuotedPath(const std::string& path)
{
    if (path.find(' ') != std::string::npos && (path.empty() || path[0] != '"')) return "\"" + path + "\"";
    return path;
}

// ---- TFilenameEdit

std::string TFilenameEdit::StartingFile(FileSystem& files)
{
    std::string start = files.FileExists(Text) ? Text : FirstToken(Text);
    if (!ValidFileName(start)) return start;  // the dialog keeps its previous file name
    const std::string directory = FilePathPart(start);
    if (!directory.empty() && files.DirectoryExists(directory)) Dialog.initialDir = directory;
    const std::string name = FileNamePart(start);
    if (name.empty() || !ValidFileName(name)) start.clear();
    Dialog.fileName = start;
    return start;
}

void TFilenameEdit::Browse(FileSystem& files, PropertiesView& view)
{
    std::string name = StartingFile(files);
    bool action = view.ExecuteOpenDialog(Dialog);
    if (action) name = Dialog.fileName;
    view.FocusUninstall();
    if (OnAfterDialog) OnAfterDialog(*this, name, action);
    if (!action) return;
    // Arguments typed before belong to another program: the whole text goes.
    Text = QuotedPath(name);
    Dialog.initialDir = FilePathPart(name);
}

// ---- TPropertiesForm

TPropertiesForm::TPropertiesForm(FileSystem& files) : files_(files)
{
    Uninstall.OnAfterDialog = [this](TFilenameEdit& sender, std::string& name, bool& action) {
        UninstallAfterDialog(sender, name, action);
    };
}

bool TPropertiesForm::FormCloseQuery(PropertiesView& view, bool& ok)
{
    if (!Display.empty() && !Uninstall.Text.empty()) return true;
    if (!ok) return true;
    if (view.AskOkCancel(kInformationMissing)) return false;
    ok = false;
    return true;
}

void TPropertiesForm::UninstallAfterDialog(TFilenameEdit&, std::string& name, bool&)
{
    // Also after a cancelled browse: the starting file names the program too.
    if (Display.empty() && !name.empty()) Display = FileNamePart(name);
}

}  // namespace quillet
