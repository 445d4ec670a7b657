#include "app/SettingsStore.h"

#include "common/Text.h"

namespace quillet {

std::string SettingsFileName(const std::string& exePath, const Locale& locale)
{
    return AsciiLowerPath(ChangeFileExt(exePath, ".ini", locale), locale);
}

void SettingsStore::Open(const std::string& exePath, const Locale& locale)
{
    fileName_ = SettingsFileName(exePath, locale);
    file_ = std::make_unique<quillet::SettingsFile>(profile_, fileName_);
    FormStorage.IniFileName = fileName_;
}

void SettingsStore::LoadLog()
{
    std::vector<LogRecord> records = ReadLogSection(*file_);
    // As a command-line run writes them back: hand-edited lines come back changed.
    known_.clear();
    for (const LogRecord& record : records) known_.insert(LogLine(record));
    parts_.log.Restore(std::move(records));
}

void SettingsStore::TakeNewRecords()
{
    if (!file_) return;
    std::multiset<std::string> unmatched = known_;
    std::vector<LogRecord> arrived;  // newest first, as the file keeps them
    for (LogRecord& record : ReadLogSection(*file_)) {
        const std::string line = LogLine(record);
        const auto it = unmatched.find(line);
        if (it != unmatched.end()) {
            unmatched.erase(it);
            continue;
        }
        known_.insert(line);
        arrived.push_back(std::move(record));
    }
    for (auto it = arrived.rbegin(); it != arrived.rend(); ++it) parts_.log.AddRecord(std::move(*it));
}

void SettingsStore::ReadSizes(StoredSettings& s) const
{
    using Size = FrameView::Size;
    s.LogHeight = frame_.GetSize(Size::LogHeight);
    s.TimeWidth = frame_.GetSize(Size::TimeWidth);
    s.CommentWidth = frame_.GetSize(Size::CommentWidth);
    s.NameWidth = frame_.GetSize(Size::NameWidth);
    s.CmdLiNeWidth = frame_.GetSize(Size::CmdLineWidth);
    s.SubKeyWidth = frame_.GetSize(Size::SubKeyWidth);
    // The Source column is always shown: a user's entries are listed on every Windows.
    s.PlatformColumn = true;
    if (s.PlatformColumn) s.PlatformWidth = frame_.GetSize(Size::PlatformWidth);
    s.PublisherWidth = frame_.GetSize(Size::PublisherWidth);
    s.VersionWidth = frame_.GetSize(Size::VersionWidth);
    s.InstalledWidth = frame_.GetSize(Size::InstalledWidth);
    s.SizeWidth = frame_.GetSize(Size::SizeWidth);
}

void SettingsStore::ReadSettings()
{
    using Size = FrameView::Size;
    StoredSettings s;
    ReadSizes(s);
    ReadStoredSettings(*file_, s);

    ViewMenus& views = parts_.views;
    FormStorage.RestoreFormPlacement();
    frame_.SetSize(Size::LogHeight, s.LogHeight);
    frame_.SetSize(Size::TimeWidth, s.TimeWidth);
    frame_.SetSize(Size::CommentWidth, s.CommentWidth);
    // Every switch is on at start: one toggle turns a stored "off" off.
    if (!s.TextLabels) views.TextLabelsMMClick();
    frame_.SetSize(Size::NameWidth, s.NameWidth);
    frame_.SetSize(Size::CmdLineWidth, s.CmdLiNeWidth);
    frame_.SetSize(Size::SubKeyWidth, s.SubKeyWidth);
    if (s.PlatformColumn) frame_.SetSize(Size::PlatformWidth, s.PlatformWidth);
    frame_.SetSize(Size::PublisherWidth, s.PublisherWidth);
    frame_.SetSize(Size::VersionWidth, s.VersionWidth);
    frame_.SetSize(Size::InstalledWidth, s.InstalledWidth);
    frame_.SetSize(Size::SizeWidth, s.SizeWidth);
    parts_.catalogue.SetShowSystemEntries(s.SystemEntries);
    parts_.backup.BackupDir = s.BackupDir;
    if (!s.ToolBar) views.ToolBarMMClick();
    if (!s.Log) views.LogMMClick();
    if (!s.StatusBar) views.StatusMMClick();
    // A column outside the list (-1 when none was ever set) falls back to Name.
    const bool known = s.SortOn >= 0 && s.SortOn < parts_.catalogue.Programs.ColumnCount();
    parts_.catalogue.ApplySortState(known ? s.SortOn : 0, s.Ascending);
    switch (s.ViewType) {
    case 0: views.LargeIconsPMClick(); break;
    case 1: views.SmallIconsPMClick(); break;
    case 2: views.ListPMClick(); break;
    case 3: views.ReportPMClick(); break;
    default: break;  // the list keeps its style
    }
}

void SettingsStore::FormClose()
{
    FormStorage.SaveFormPlacement();
    StoredSettings s;
    switch (parts_.views.ProgramsStyle) {
    case ViewStyle::SmallIcons: s.ViewType = 1; break;
    case ViewStyle::List: s.ViewType = 2; break;
    case ViewStyle::Report: s.ViewType = 3; break;
    case ViewStyle::LargeIcons: s.ViewType = 0; break;
    }
    ReadSizes(s);
    s.BackupDir = parts_.backup.BackupDir;
    s.ToolBar = commands_.MenuItemChecked(MenuItem::ToolBarMM);
    s.Log = commands_.MenuItemChecked(MenuItem::LogMM);
    s.StatusBar = commands_.MenuItemChecked(MenuItem::StatusMM);
    s.TextLabels = commands_.MenuItemChecked(MenuItem::TextLabelsMM);
    s.SystemEntries = parts_.catalogue.ShowSystemEntries();
    s.SortOn = parts_.catalogue.Programs.SortColumnIndex();
    s.Ascending = parts_.catalogue.Programs.Ascending();
    WriteStoredSettings(*file_, s);
    // A command-line run may have kept records in the file since: they stay.
    TakeNewRecords();
    WriteLogSection(*file_, parts_.log.Log().Records());
    known_.clear();
    for (const LogRecord& record : parts_.log.Log().Records()) known_.insert(LogLine(record));
}

}  // namespace quillet
