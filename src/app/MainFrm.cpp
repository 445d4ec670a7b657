#include "app/MainFrm.h"

#include <algorithm>

#include "catalogue/FileSystem.h"
#include "common/Locale.h"
#include "common/Text.h"
#include "runner/UninstallJob.h"
#include "editing/FileWriter.h"

namespace quillet {

std::string SettingsFileName(const std::string& exePath, const Locale& locale)
{
    return AsciiLowerPath(ChangeFileExt(exePath, ".ini", locale), locale);
}

TMain::TMain(MainView& view, const Ports& ports)
    : view_(view), ports_(ports), checker_(ports.files, ports.locale), Programs(rows_, ports.locale, view)
{
    Programs.OnColumnClick = [this] { ProgramsColumnClick(); };
    ports_.runner.OnTerminated = [this] { Guard([&] { RunnerTerminated(); }); };
}

namespace {

// Without a settings file: every read gives its default, every write is taken.
class NoProfile : public ProfileFile {
public:
    std::string ReadString(const std::string&, const std::string&, const std::string&,
                           const std::string& fallback) override
    {
        return fallback;
    }
    bool WriteString(const std::string&, const std::string&, const std::string&, const std::string&) override
    {
        return true;
    }
    bool EraseSection(const std::string&, const std::string&) override { return true; }
    std::vector<std::string> ReadSection(const std::string&, const std::string&) override { return {}; }
    bool WriteSection(const std::string&, const std::string&, const std::vector<std::string>&) override
    {
        return true;
    }
};

class NoTray : public TrayIcon {
public:
    void SetHint(const std::string&) override {}
    void SetAnimated(bool) override {}
    void EnableUninstall(bool) override {}
};

}  // namespace

ProfileFile& TMain::Profile()
{
    static NoProfile none;
    return ports_.profile ? *ports_.profile : none;
}

TrayIcon& TMain::Tray()
{
    static NoTray none;
    return ports_.tray ? *ports_.tray : none;
}

void TMain::FormCreate(const std::string& exePath)
{
    Guard([&] { RegisterApp(kApplicationTitle, kVersionText, exePath); });
    Guard([&] { Tray().SetHint(kApplicationTitle); });
    Hidden = false;
    settingsFile_ = SettingsFileName(exePath, ports_.locale);
    exeDir_ = ExtractFilePath(exePath, ports_.locale);
    settings_ = std::make_unique<quillet::SettingsFile>(Profile(), settingsFile_);
    FormStorage.IniFileName = settingsFile_;
    Guard([&] { LoadLog(); });
    Guard([&] { ReadSettings(); });
    Guard([&] { LoadPrograms(); });
}

// ---- Settings file

void TMain::LoadLog()
{
    for (LogRecord& record : ReadLogSection(*settings_)) log_.Append(std::move(record));
    view_.LogCleared();
    for (size_t i = 0; i < log_.Size(); ++i) view_.LogInserted(false);
}

void TMain::ReadSettings()
{
    using Size = MainView::Size;
    StoredSettings s;
    s.LogHeight = view_.GetSize(Size::LogHeight);
    s.TimeWidth = view_.GetSize(Size::TimeWidth);
    s.CommentWidth = view_.GetSize(Size::CommentWidth);
    s.NameWidth = view_.GetSize(Size::NameWidth);
    s.CmdLiNeWidth = view_.GetSize(Size::CmdLineWidth);
    s.SubKeyWidth = view_.GetSize(Size::SubKeyWidth);
    ReadStoredSettings(*settings_, s);

    FormStorage.RestoreFormPlacement();
    view_.SetSize(Size::LogHeight, s.LogHeight);
    view_.SetSize(Size::TimeWidth, s.TimeWidth);
    view_.SetSize(Size::CommentWidth, s.CommentWidth);
    // Every switch is on at start: one toggle turns a stored "off" off.
    if (!s.TextLabels) TextLabelsMMClick();
    view_.SetSize(Size::NameWidth, s.NameWidth);
    view_.SetSize(Size::CmdLineWidth, s.CmdLiNeWidth);
    view_.SetSize(Size::SubKeyWidth, s.SubKeyWidth);
    BackupDir = s.BackupDir;
    if (!s.ToolBar) ToolBarMMClick();
    if (!s.Log) LogMMClick();
    if (!s.StatusBar) StatusMMClick();
    // A column outside the list (-1 when none was ever set) falls back to Name.
    const bool known = s.SortOn >= 0 && s.SortOn < TSTListView::kColumnCount;
    ApplySortState(known ? s.SortOn : 0, s.Ascending);
    switch (s.ViewType) {
    case 0: LargeIconsPMClick(); break;
    case 1: SmallIconsPMClick(); break;
    case 2: ListPMClick(); break;
    case 3: ReportPMClick(); break;
    default: break;  // the list keeps its style
    }
}

void TMain::FormClose()
{
    using Size = MainView::Size;
    FormStorage.SaveFormPlacement();
    StoredSettings s;
    switch (ProgramsStyle) {
    case ViewStyle::SmallIcons: s.ViewType = 1; break;
    case ViewStyle::List: s.ViewType = 2; break;
    case ViewStyle::Report: s.ViewType = 3; break;
    case ViewStyle::LargeIcons: s.ViewType = 0; break;
    }
    s.LogHeight = view_.GetSize(Size::LogHeight);
    s.TimeWidth = view_.GetSize(Size::TimeWidth);
    s.CommentWidth = view_.GetSize(Size::CommentWidth);
    s.NameWidth = view_.GetSize(Size::NameWidth);
    s.CmdLiNeWidth = view_.GetSize(Size::CmdLineWidth);
    s.SubKeyWidth = view_.GetSize(Size::SubKeyWidth);
    s.BackupDir = BackupDir;
    s.ToolBar = view_.MenuItemChecked(MenuItem::ToolBarMM);
    s.Log = view_.MenuItemChecked(MenuItem::LogMM);
    s.StatusBar = view_.MenuItemChecked(MenuItem::StatusMM);
    s.TextLabels = view_.MenuItemChecked(MenuItem::TextLabelsMM);
    s.SortOn = Programs.SortColumnIndex();
    s.Ascending = Programs.Ascending();
    WriteStoredSettings(*settings_, s);
    WriteLogSection(*settings_, log_.Records());
}

// ---- Notification-area icon

void TMain::AppEventsMinimize()
{
    view_.ShowApplication(false);
    Tray().SetHint(kApplicationTitle);
    Hidden = true;
}

void TMain::AppEventsRestore()
{
    view_.ShowApplication(true);
    Hidden = false;
}

void TMain::TrayMenuPopup()
{
    TrayItems.clear();
    // Changes made while hidden show in the submenu.
    if (Hidden && !Running) LoadPrograms();
    TrayItems = TrayUninstallItems(rows_);
}

void TMain::TrayUninstallClick(const TrayItem& item)
{
    const int row = TrayItemRow(rows_, item);
    if (row < 0) return;
    view_.FocusProgram(row);
    uninstallClick();
}

// ---- Entry list

bool TMain::OpenRegKey(RootKey root, const std::string& path, bool create)
{
    ports_.registry.SetRootKey(root);
    return ports_.registry.OpenKey(path, create);
}

void TMain::CheckProgram(EntryRow& row) const
{
    row.image = checker_.IsValidCommand(row.command) ? kImageGood : kImageBad;
}

void TMain::ReadEntries()
{
    Registry& registry = ports_.registry;
    const std::string uninstallKey = kUninstallKey;
    OpenRegKey(RootKey::LocalMachine, uninstallKey);
    const std::vector<std::string> names = registry.GetKeyNames();
    rows_.reserve(names.size());
    for (const std::string& name : names) {
        if (!OpenRegKey(RootKey::LocalMachine, uninstallKey + name)) continue;
        EntryRow row;
        row.caption = registry.ReadString("DisplayName");
        row.command = registry.ReadString("UninstallString");
        if (row.caption.empty() || row.command.empty()) continue;
        row.subkey = name;
        CheckProgram(row);
        rows_.push_back(std::move(row));
    }
}

void TMain::LoadPrograms()
{
    int position = 0;
    if (!rows_.empty()) position = std::max(view_.FocusedProgram(), 0);

    rows_.clear();
    checker_.BeginBatch();
    try {
        ReadEntries();
    } catch (...) {
        checker_.EndBatch();
        // The rows read before the failure stay listed.
        view_.ProgramsReplaced(rows_.size());
        throw;
    }
    checker_.EndBatch();
    view_.ProgramsReplaced(rows_.size());

    // The opposite direction makes the click re-sort as it stands.
    Programs.SortByColumn(Programs.SortColumnIndex(), !Programs.Ascending());

    if (!rows_.empty()) {
        position = std::min(position, static_cast<int>(rows_.size()) - 1);
        view_.FocusProgram(position);
    }
    view_.ActivatePrograms();
    UpdateButtons();
}

const EntryRow* TMain::FocusedRow() const
{
    const int focused = view_.FocusedProgram();
    if (focused < 0 || focused >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[focused];
}

void TMain::UpdateButtons()
{
    const bool hasRow = FocusedRow() != nullptr;
    view_.EnableButton(Button::AddRemove, hasRow && !Running);
    view_.EnableButton(Button::Delete, hasRow);
    view_.EnableButton(Button::Properties, hasRow);
    UpdateStatusBar();
    ProgramsClick();
}

void TMain::UpdateStatusBar()
{
    BadCount = static_cast<int32_t>(
        std::count_if(rows_.begin(), rows_.end(), [](const EntryRow& r) { return r.image == kImageBad; }));
    view_.EnableButton(Button::DeleteBad, BadCount != 0);
    view_.EnableMenuItem(MenuItem::DeleteBadMM, view_.ButtonEnabled(Button::DeleteBad));
    view_.SetStatusPanel(1, "Shortcuts / Bad shortcuts: " + std::to_string(rows_.size()) + " / " +
                                std::to_string(BadCount));
}

void TMain::ProgramsClick()
{
    const EntryRow* row = FocusedRow();
    if (!row) return;
    // A deleted row takes the focus with it and UpdateButtons then turns
    // Add/Remove off; a row focused afterwards must turn it on again.
    view_.EnableButton(Button::AddRemove, !Running);
    const bool isRunningEntry = Running && row->caption == RunningName && row->command == RunningCommand;
    view_.EnableButton(Button::Delete, !isRunningEntry);
    view_.EnableButton(Button::Properties, !isRunningEntry);
}

// ---- Sorting

void TMain::ProgramsColumnClick()
{
    static constexpr MenuItem kViewMenu[] = {MenuItem::NameMM, MenuItem::CommandLineMM, MenuItem::SubkeyMM};
    static constexpr MenuItem kPopupMenu[] = {MenuItem::NamePM, MenuItem::CommandLinePM, MenuItem::SubkeyPM};
    const int column = Programs.SortColumnIndex();
    if (column >= 0 && column < TSTListView::kColumnCount) {
        for (int i = 0; i < TSTListView::kColumnCount; ++i) {
            view_.CheckMenuItem(kViewMenu[i], i == column);
            view_.CheckMenuItem(kPopupMenu[i], i == column);
        }
    }
    view_.CheckMenuItem(MenuItem::ReversedorderMM, !Programs.Ascending());
    view_.CheckMenuItem(MenuItem::ReversedorderPM, !Programs.Ascending());
}

// ---- Uninstall job

int64_t TMain::MeasureFreeSpace() const
{
    const char drive = CommandDrive(RunningCommand);
    return drive ? ports_.files.FreeSpace(drive) : -1;
}

void TMain::uninstallClick()
{
    const int focused = view_.FocusedProgram();
    if (focused < 0 || focused >= static_cast<int>(rows_.size()) || Running) return;
    const EntryRow& row = rows_[focused];
    RunningName = row.caption;
    // The command as it stands in the registry now, not the row's copy.
    const bool open = OpenRegKey(RootKey::LocalMachine, kUninstallKey + row.subkey);  // gone: no command
    RunningCommand = open ? ports_.registry.ReadString("UninstallString") : std::string();
    view_.SetStatusText("Adding or removing \"" + row.caption + "\"");
    Tray().SetHint("Adding or removing \"" + row.caption + "\"");
    Tray().SetAnimated(true);
    Tray().EnableUninstall(false);
    view_.SetLed(true);
    Running = true;
    const bool started = ports_.runner.Execute(checker_.ProgramFile(RunningCommand), RunningCommand);
    FreeBefore = MeasureFreeSpace();
    if (!started) {
        rows_[focused].image = kImageBad;
        view_.ProgramChanged(focused);
        AddLog("Uninstall program for \"" + RunningName + "\" application not found!", "", kLogError);
        RunnerTerminated();
    }
    UpdateButtons();
}

void TMain::RunnerTerminated()
{
    view_.SetStatusText(kReady);
    Tray().SetHint(kApplicationTitle);
    Tray().SetAnimated(false);
    Tray().EnableUninstall(true);
    view_.SetLed(false);
    const auto endJob = [this] {
        RunningName.clear();
        RunningCommand.clear();
        Running = false;
    };
    try {
        LoadPrograms();
        bool gone = true;
        for (const EntryRow& row : rows_)
            if (row.caption == RunningName && row.command == RunningCommand) gone = false;
        if (gone) {
            const int64_t freeAfter = MeasureFreeSpace();
            AddLog("Application \"" + RunningName + "\" successfuly uninstalled.",
                   FreeSpaceComment(FreeBefore, freeAfter, ports_.locale.DecimalSeparator()), kLogInformation);
        }
    } catch (...) {
        // A reload that fails still ends the job, or it would never end.
        endJob();
        UpdateButtons();
        throw;
    }
    endJob();
    UpdateButtons();
}

bool TMain::FormCloseQuery()
{
    return !Running || ports_.dialogs.Confirm("Uninstallation in progress! Exit anyway?");
}

// ---- Actions log

void TMain::AddLog(const std::string& message, const std::string& comment, int image)
{
    LogRecord record{LogTimeText(ports_.clock.Now(), ports_.locale), message, comment, image};
    const bool dropped = log_.AddOnTop(std::move(record));
    view_.LogInserted(dropped);
    ports_.dialogs.Beep();
    if (!Hidden) return;
    // Hidden in the notification area: the user learns the outcome from a box.
    if (image == kLogInformation) ports_.dialogs.ShowInformation(message);
    else if (image == kLogError) ports_.dialogs.ShowErrorBox(message);
}

void TMain::ClearLogPMClick()
{
    if (!ports_.dialogs.Confirm("Are you really want to clear actions log?")) return;
    log_.Clear();
    view_.LogCleared();
}

void TMain::EditlogPMClick()
{
    const int row = view_.FocusedLogRow();
    if (row < 0 || row >= static_cast<int>(log_.Size())) return;
    std::string comment = log_.Records()[row].comment;
    if (!ports_.dialogs.EditLog(log_.Records()[row], comment)) return;
    log_.SetComment(row, std::move(comment));
    view_.LogRowChanged(row);
}

void TMain::LogDblClick()
{
    if (view_.FocusedLogRow() >= 0) EditlogPMClick();
}

void TMain::LogMenuPopup()
{
    view_.EnableMenuItem(MenuItem::ClearLogPM, log_.Size() > 0);
    view_.EnableMenuItem(MenuItem::EditlogPM, view_.FocusedLogRow() >= 0);
}

void TMain::BaseMenuPopup()
{
    view_.EnableMenuItem(MenuItem::AddRemovePM, view_.ButtonEnabled(Button::AddRemove));
    view_.EnableMenuItem(MenuItem::PropertiesPM, view_.ButtonEnabled(Button::Properties));
    view_.EnableMenuItem(MenuItem::DeletePM, view_.ButtonEnabled(Button::Delete));
    view_.EnableMenuItem(MenuItem::ClearLogPM, log_.Size() > 0);
    view_.EnableMenuItem(MenuItem::ClearLogMM, view_.MenuItemEnabled(MenuItem::ClearLogPM));
    view_.EnableMenuItem(MenuItem::EditlogMM, view_.FocusedLogRow() >= 0);
}

// ---- Backup

std::string TMain::BackupDateText() { return quillet::BackupDateText(ports_.clock.Now()); }

void TMain::BackupMMClick()
{
    if (BackupDir.empty()) {
        BackupDir = exeDir_ + "Backup";
        // It may exist already; when it cannot be made the dialog opens elsewhere.
        ports_.backupFile->MakeDirectory(BackupDir);
    }
    SaveRegDlg.InitialDir = BackupDir;
    SaveRegDlg.FileName = BackupFileName(BackupDateText());
    if (!ports_.dialogs.Execute(SaveRegDlg)) return;
    const std::string fileName = SaveRegDlg.FileName;
    BackupDir = ExtractFilePath(fileName, ports_.locale);
    try {
        WriteRegBackup(ports_.registry, *ports_.backupFile, fileName);
    } catch (const BackupFileError& e) {
        ports_.dialogs.ShowErrorBox(e.what());
        return;
    }
    ports_.dialogs.ShowInformation("Backup information will be stored into \"" + fileName +
                                   "\" file and can be restored by double clicking on this file or importing into "
                                   "Registry Editor.");
}

// ---- Find

void TMain::FindMMClick()
{
    FindForm.SearchType = view_.LogActive() ? kSearchLog : kSearchShortcuts;
    if (!ports_.dialogs.ShowFindForm(FindForm)) return;
    const SearchIn list = FindForm.SearchType == kSearchLog ? kSearchLog : kSearchShortcuts;
    const std::string text = ports_.locale.LowerCase(FindForm.Edit);

    std::vector<SearchRow> rows;
    if (list == kSearchLog) {
        rows.reserve(log_.Size());
        for (const LogRecord& r : log_.Records()) rows.push_back({r.time, r.message, r.comment});
    } else {
        rows.reserve(rows_.size());
        for (const EntryRow& r : rows_) rows.push_back({r.caption, r.command, r.subkey});
    }
    const std::vector<std::string> found = FindCaptions(rows, text, ports_.locale);
    if (found.empty()) {
        ports_.dialogs.ShowInformation(NotFoundText(text));
        return;
    }
    if (found.size() == 1) {
        SelectByCaption(list, found.front());
        return;
    }
    SearchResultForm.List = found;
    SearchResultForm.ItemIndex = 0;
    if (!ports_.dialogs.ShowSearchResultForm(SearchResultForm)) return;
    const int chosen = SearchResultForm.ItemIndex;
    if (chosen < 0 || chosen >= static_cast<int>(found.size()))
        throw QuilletError("List index out of bounds (" + std::to_string(chosen) + ")");
    SelectByCaption(list, SearchResultForm.List[chosen]);
}

void TMain::SelectByCaption(SearchIn list, const std::string& caption)
{
    std::vector<std::string_view> captions;
    if (list == kSearchLog)
        for (const LogRecord& r : log_.Records()) captions.push_back(r.time);
    else
        for (const EntryRow& r : rows_) captions.push_back(r.caption);
    const int row = RowByCaption(captions, caption);
    if (row < 0) return;
    if (list == kSearchLog) {
        view_.FocusLogRow(row);
        if (!view_.ActivateLog()) throw QuilletError("Cannot focus a disabled or invisible window");
    } else {
        view_.FocusProgram(row);
        view_.ActivatePrograms();
    }
}

}  // namespace quillet
