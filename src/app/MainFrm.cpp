#include "app/MainFrm.h"

#include "app/Registration.h"
#include "common/Locale.h"
#include "common/Text.h"

namespace quillet {

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

ProfileFile& TMain::ProfilePort()
{
    static NoProfile none;
    return ports_.profile ? *ports_.profile : none;
}

TrayIcon& TMain::TrayPort()
{
    static NoTray none;
    return ports_.tray ? *ports_.tray : none;
}

TMain::TMain(MainView& view, const Ports& ports)
    : ports_(ports),
      modal_(ports.dialogs),
      logging_(ports.clock, ports.locale, modal_, modal_, view, view, view),
      job_(catalogue_, logging_, ports.registry, ports.runner, ports.files, ports.locale,
           {view, TrayPort(), modal_, modal_}),
      catalogue_(ports.registry, ports.files, ports.locale, {view, view, view}, job_, ports.windows64),
      editing_(catalogue_, logging_, ports.registry, ports.files, modal_, modal_, view, ports.backupFile, ports.clock,
                ports.locale),
      backup_(ports.registry, ports.backupFile, ports.clock, ports.locale, modal_, modal_),
      export_(catalogue_, ports.backupFile, modal_, modal_),
      find_(catalogue_, logging_.Log(), ports.locale, modal_, modal_, view, view),
      views_(view, view, view, view, logging_.Log()),
      settings_(view, view, view, ProfilePort(), {views_, catalogue_, backup_, logging_}),
      tray_(view, TrayPort(), view, catalogue_, job_, kApplicationTitle)
{
    job_.IdleHint = kApplicationTitle;
    backup_.Windows64 = ports.windows64;
    catalogue_.Accounts = ports.accounts;
    if (ports.listRegistry) catalogue_.ReadDetailsLater(*ports.listRegistry);
    backup_.Sources = [this] { return catalogue_.ReadSources(); };
    logging_.InTray = [this] { return tray_.Hidden; };
    logging_.BeforeAdd = [this] { TakeFileRecords(); };
    tray_.BoxOpen = [this] { return modal_.Open(); };
    views_.UndoText = [this] { return editing_.UndoText(); };
    ports_.runner.OnTerminated = [this] { Guard([&] { job_.RunnerTerminated(); }); };
    live_.Busy = [this] { return modal_.Open(); };
    live_.Reload = [this] { Guard([&] { catalogue_.FollowRegistry(); }); };
    catalogue_.BeforeLoad = [this] { live_.Covered(); };
    catalogue_.AfterLoad = [this] { live_.Loaded(); };
}

void TMain::RegisterApp(const std::string& title, const std::string& version, const std::string& path)
{
    if (ports_.registration) quillet::RegisterApp(*ports_.registration, ports_.clock.Now(), title, version, path);
}

bool TMain::ReadDetailsWhileIdle()
{
    // A few dozen rows at a time: a message waiting is served within milliseconds.
    bool more = false;
    Guard([&] { more = catalogue_.ReadSomeDetails(32); });
    return more;
}

void TMain::TakeFileRecords()
{
    if (logRead_) return;
    logRead_ = true;
    settings_.TakeNewRecords();
}

void TMain::RecordsArrived(const std::string& lines)
{
    std::vector<std::string> records;
    for (size_t at = 0; at < lines.size();) {
        size_t end = lines.find('\n', at);
        if (end == std::string::npos) end = lines.size();
        std::string line = lines.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) records.push_back(std::move(line));
    }
    TakeFileRecords();
    // Oldest first: the log keeps the newest, so the last ones.
    const size_t first = records.size() > ActionsLog::kCap ? records.size() - ActionsLog::kCap : 0;
    for (size_t i = first; i < records.size(); ++i) logging_.AddRecord(ParseLogLine(records[i]));
    // Within a box the list waits: the registry watcher brings the change after it.
    if (!modal_.Open()) catalogue_.FollowRegistry();
}

void TMain::FormCreate(const std::string& exePath)
{
    Guard([&] { RegisterApp(kApplicationTitle, kVersionText, exePath); });
    Guard([&] { TrayPort().SetHint(kApplicationTitle); });
    tray_.Hidden = false;
    settings_.Open(exePath, ports_.locale);
    backup_.ExeDir = ExtractFilePath(exePath, ports_.locale);
    editing_.History.ChangesDir = backup_.ExeDir + "Backup";
    Guard([&] { settings_.LoadLog(); });
    Guard([&] { settings_.ReadSettings(); });
    Guard([&] { catalogue_.LoadPrograms(); });
}

}  // namespace quillet
