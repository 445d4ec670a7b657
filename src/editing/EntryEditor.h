#pragma once
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "common/MessageBoxes.h"
#include "editing/EditDialogs.h"
#include "editing/PropFrm.h"
#include "editing/UndoHistory.h"
#include "log/LogCommands.h"

namespace quillet {

// The commands that write and delete uninstall entries: New, Properties,
// Delete and Delete bad.
class EntryEditor {
public:
    EntryEditor(EntryCatalogue& catalogue, LogCommands& log, Registry& registry, FileSystem& files,
                MessageBoxes& boxes, EditDialogs& dialogs, ProgramsView& programs, FileWriter* changesFile,
                Clock& clock, const Locale& locale)
        : catalogue_(catalogue), log_(log), registry_(registry), boxes_(boxes), dialogs_(dialogs),
          programs_(programs), History(registry, changesFile, clock, locale), PropertiesForm(files)
    {
    }

    void NewClick();
    void EditClick();
    // Deletes the entry's subkey, records it and removes its row; a subkey
    // that stays raises the failure and keeps row and log as they were.
    void DeleteProgram(const EntryKey& entry);
    void DeleteClick();
    void DeleteBadBtnClick();
    // Subkey name of a new entry: blanks and backslashes to underscores, then
    // "_0", "_1", ... while a subkey of that name exists under the open key.
    std::string NewSubkeyName(const std::string& displayName);
    // Takes back the newest change of this run (Edit > Undo).
    void UndoClick();
    // "Undo delete of \"NAME\"" while Undo can act; empty when it cannot.
    std::string UndoText() const;

private:
    void DeleteRow(int index);
    // Runs the writes of a change; what they did stays undoable even when
    // they fail half-way.
    template <typename Writes>
    void Apply(UndoStep step, Writes writes)
    {
        try {
            writes();
        } catch (...) {
            History.Finish(std::move(step));
            throw;
        }
        History.Finish(std::move(step));
    }
    // Delete for several selected rows: one question, one Undo step.
    void DeleteSelection();
    void DeleteEntries(const std::vector<EntryKey>& entries, const std::string& label);
    void Restored(const UndoHistory::Outcome& outcome);

    EntryCatalogue& catalogue_;
    LogCommands& log_;
    Registry& registry_;
    MessageBoxes& boxes_;
    EditDialogs& dialogs_;
    ProgramsView& programs_;

public:
    // Every change above, kept for Undo and written to the changes file first.
    UndoHistory History;
    // The properties dialog, filled by New and Properties before each use.
    TPropertiesForm PropertiesForm;
};

}  // namespace quillet
