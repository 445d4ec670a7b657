#include "cli/ConsoleRun.h"

#include <exception>

#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "cli/ConsoleParts.h"
#include "cli/UndoFile.h"
#include "common/Error.h"
#include "common/Text.h"
#include "editing/BackupCommand.h"
#include "editing/EntryEditor.h"
#include "editing/FileWriter.h"
#include "editing/ListTable.h"
#include "editing/TableText.h"
#include "log/LogCommands.h"

namespace quillet {

namespace {

// The parts the window would have, over ports that show nothing.
struct ConsoleCore {
    explicit ConsoleCore(const ConsolePorts& p)
        : ports(p),
          log(p.clock, p.locale, parts, parts, parts, parts, parts),
          catalogue(p.registry, p.files, p.locale, {parts, parts, parts}, parts, p.windows64),
          editor(catalogue, log, p.registry, p.files, parts, parts, parts, &p.writer, p.clock, p.locale)
    {
        exeDir = ExtractFilePath(p.exePath, p.locale);
        editor.History.ChangesDir = exeDir + "Backup";
        catalogue.Accounts = p.accounts;
        // By name, as the window's list starts.
        catalogue.ApplySortState(0, true);
    }

    // Every box's text, one line each, on standard error.
    bool ReportErrors()
    {
        for (const std::string& text : parts.errors) {
            std::string line = text;
            ReplaceAll(line, "\n", " ");
            ports.console.Err(line + "\n");
        }
        return !parts.errors.empty();
    }

    const ConsolePorts& ports;
    ConsoleParts parts;
    LogCommands log;
    EntryCatalogue catalogue;
    EntryEditor editor;
    std::string exeDir;
};

int WriteFile(const ConsolePorts& ports, const std::string& path, const std::string& bytes)
{
    FileWriter& file = ports.writer;
    if (file.Create(path) && file.Write(bytes) && file.Close()) return kExitDone;
    const std::string reason = file.LastError();
    file.Close();
    ports.console.Err("Cannot write \"" + path + "\": " + reason + "\n");
    return kExitFailed;
}

int List(const Invocation& run, const ConsolePorts& ports)
{
    ConsoleCore core(ports);
    core.catalogue.LoadPrograms();
    if (core.ReportErrors()) return kExitFailed;
    const TextTable table = ListTable(core.catalogue.Rows());
    switch (run.format) {
    case Invocation::Format::Csv: return WriteFile(ports, run.file, CsvText(table));
    case Invocation::Format::Json: return WriteFile(ports, run.file, JsonText(table));
    case Invocation::Format::Text: break;
    }
    // A console needs no byte-order mark, and a pipe would carry it into the next program.
    ports.console.Out(CsvText(table).substr(3));
    return kExitDone;
}

int Backup(const Invocation& run, const ConsolePorts& ports)
{
    ConsoleCore core(ports);
    BackupCommand backup(ports.registry, &ports.writer, ports.clock, ports.locale, core.parts, core.parts);
    backup.Windows64 = ports.windows64;
    backup.ExeDir = core.exeDir;
    backup.Sources = [&core] { return core.catalogue.ReadSources(); };
    // The file's own folder: no Backup folder is made beside the program for it.
    backup.BackupDir = ExtractFilePath(run.file, ports.locale);
    core.parts.saveAs = run.file;
    backup.BackupMMClick();
    if (core.ReportErrors()) return kExitFailed;
    for (const std::string& text : core.parts.information) ports.console.Out(text + "\n");
    return kExitDone;
}

}  // namespace

void KeepRecords(const ConsolePorts& ports, const std::vector<LogRecord>& newestFirst)
{
    if (newestFirst.empty()) return;
    std::string lines;
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) lines += LogLine(*it) + "\n";
    if (ports.window.TakeRecords(lines)) return;
    SettingsFile file(ports.profile, SettingsFileName(ports.exePath, ports.locale));
    ActionsLog log;
    for (LogRecord& record : ReadLogSection(file)) log.Append(std::move(record));
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) log.AddOnTop(*it);
    WriteLogSection(file, log.Records());
}

namespace {

int DeleteBad(const Invocation& run, const ConsolePorts& ports)
{
    ConsoleCore core(ports);
    core.catalogue.LoadPrograms();
    if (core.ReportErrors()) return kExitFailed;
    const std::vector<EntryKey> bad = core.catalogue.BadKeys();
    if (!run.yes) {
        ports.console.Out(std::to_string(bad.size()) + " bad entries would be deleted (add /yes to delete them)" +
                          (bad.empty() ? "." : ":") + "\n");
        for (const EntryKey& key : bad) {
            const EntryRow& row = core.catalogue.Rows()[static_cast<size_t>(core.catalogue.IndexOf(key))];
            ports.console.Out(row.caption + "\t" + row.subkey + "\t" + ReasonText(row.reason) + "\n");
        }
        return kExitDone;
    }
    if (bad.empty()) {
        ports.console.Out("No bad entries; nothing was deleted.\n");
        return kExitDone;
    }
    core.parts.answer = true;
    int code = kExitDone;
    try {
        core.editor.DeleteBadBtnClick();
    } catch (const std::exception& e) {
        core.parts.errors.push_back(e.what());
    }
    if (core.ReportErrors()) code = kExitFailed;
    const std::vector<LogRecord>& records = core.log.Log().Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) ports.console.Out(it->message + "\n");
    if (!records.empty()) ports.console.Out("The way back: \"" + core.editor.History.ChangesPath() + "\"\n");
    KeepRecords(ports, records);
    return code;
}

}  // namespace

int RunConsole(const Invocation& run, const ConsolePorts& ports)
{
    if (!run.error.empty()) {
        ports.console.Err(run.error + "\n");
        return kExitBadArguments;
    }
    try {
        switch (run.action) {
        case Invocation::Action::Usage: ports.console.Out(UsageText()); return kExitDone;
        case Invocation::Action::List: return List(run, ports);
        case Invocation::Action::Backup: return Backup(run, ports);
        case Invocation::Action::DeleteBad: return DeleteBad(run, ports);
        case Invocation::Action::Undo: return UndoChangesFile(run.file, ports);
        case Invocation::Action::Window: break;
        }
    } catch (const std::exception& e) {
        std::string line = e.what();
        ReplaceAll(line, "\n", " ");
        ports.console.Err(line + "\n");
        return kExitFailed;
    }
    return kExitBadArguments;
}

}  // namespace quillet
