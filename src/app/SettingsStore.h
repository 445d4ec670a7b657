#pragma once
#include <memory>
#include <set>
#include <string>

#include "app/FormStorage.h"
#include "app/MainView.h"
#include "app/Settings.h"
#include "app/ViewMenus.h"
#include "catalogue/Catalogue.h"
#include "editing/BackupCommand.h"
#include "log/LogCommands.h"

namespace quillet {

class Locale;

// Settings file beside the executable: same name, ".ini", ASCII lower case.
std::string SettingsFileName(const std::string& exePath, const Locale& locale);

// The settings file: the window's placement, sizes, switches and sort order,
// and the log, read at start and written at close.
class SettingsStore {
public:
    struct Parts {
        ViewMenus& views;
        EntryCatalogue& catalogue;
        BackupCommand& backup;
        LogCommands& log;
    };
    SettingsStore(FrameView& frame, CommandView& commands, PlacementWindow& window, ProfileFile& profile,
                  const Parts& parts)
        : frame_(frame), commands_(commands), profile_(profile), parts_(parts), FormStorage{window, profile}
    {
    }

    // The file beside the program; before any read or write.
    void Open(const std::string& exePath, const Locale& locale);
    void LoadLog();
    // Records a command-line run kept in the settings file's log while the
    // window was open (it found no window to hand them to): added to the
    // window's log on top, oldest first. Those it loaded or took before are
    // known by their lines.
    void TakeNewRecords();
    void ReadSettings();
    // Writes the settings and the log, records that came meanwhile taken
    // first; raises "Unable to write to FILE".
    void FormClose();
    const std::string& SettingsFile() const { return fileName_; }

private:
    // The pane height and column widths as the window has them now.
    void ReadSizes(StoredSettings& s) const;
    FrameView& frame_;
    CommandView& commands_;
    ProfileFile& profile_;
    Parts parts_;
    std::unique_ptr<quillet::SettingsFile> file_;
    std::multiset<std::string> known_;  // the file's log lines the window has accounted for
    std::string fileName_;

public:
    TFormStorage FormStorage;
};

}  // namespace quillet
