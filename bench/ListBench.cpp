// Times the program list's work against the real registry, files, locale and
// user accounts, built as the program builds it (both registry views on
// 64-bit Windows, the other users' hives), with a view that draws nothing.
// Prints "name=seconds" pairs, each the median of RUNS runs, some with their
// range as name_lo= and name_hi=:
//   load                 LoadPrograms through the real ports
//   registry, files, accounts
//                        the time inside those ports during the same kind of
//                        load (ports that time every call they pass on)
//   own                  the rest of that load: Quillet's own work
//   details, details_registry, details_own
//                        the entries' details read after that load, as the
//                        window's idle steps read them, all at once (the
//                        list's own accessor, timed), and the time outside it
//   checks, reasons, rows_made, sort
//                        that own work in its parts, timed apart on the loaded
//                        rows: the validity test (file calls taken out), what
//                        its reasons add to the verdicts alone, the rows made
//                        from the caption and command read (registry calls
//                        taken out), the
//                        load's sort by name (its keys and ranks made)
//   keys                 the keys and ranks of every column, which a load
//                        leaves to each column's first sort
//   sort0..sort7         the first sort by each column after a load (its keys
//                        and ranks made), and sortN_again: the next one, the
//                        other way round; locale_keys1: the locale's sort keys
//                        of every command line alone
//   reload, reload_same, first
//                        the live list's reload after one entry changed
//                        outside, the same with nothing changed, and a first
//                        load, in turns
//   addlog1000           1,000 AddLog calls into a full log
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "TimedPorts.h"
#include "Timing.h"
#include "app/MainFrm.h"
#include "catalogue/EntryReader.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "catalogue/win32/Win32UserAccounts.h"
#include "common/win32/Win32Locale.h"
#include "common/win32/Wow64.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"

using bench::Now;

namespace {

struct Spread {
    std::vector<double> values;
    void Add(double value) { values.push_back(value); }
    double At(size_t i)
    {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0 : values[std::min(i, values.size() - 1)];
    }
    double Median() { return At(values.size() / 2); }
    void Print(const char* name)
    {
        std::printf("%s=%.4f %s_lo=%.4f %s_hi=%.4f\n", name, Median(), name, At(0), name, At(values.size()));
    }
};

double Seconds(const std::function<void()>& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

// The program's ports as the main window makes them.
struct RealPorts {
    quillet::win32::Win32Registry registry;
    quillet::win32::Win32FileSystem files;
    quillet::win32::Win32Locale locale;
    quillet::win32::Win32Clock clock;
    quillet::win32::Win32UserAccounts accounts;
    // The list's own accessor, as the window gives it one; each list its own.
    quillet::win32::Win32Registry plainList;
    quillet::win32::Win32Registry timedList;
};

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    const bool windows64 = quillet::win32::RunsOnWindows64();
    quillet::fakes::FakeDialogs dialogs;
    quillet::fakes::FakeRunner runner;

    // The program's load, through the real ports untimed.
    RealPorts real;
    quillet::fakes::FakeMainView plainView;
    quillet::TMain plain(plainView, quillet::Ports{real.registry, real.files, real.locale, real.clock, dialogs, runner,
                                                   nullptr, nullptr, nullptr, nullptr, windows64, &real.accounts,
                                                   &real.plainList});
    plain.Catalogue().ApplySortState(0, true);

    // The same through ports that time what they pass on.
    bench::TimedRegistry registry(real.registry);
    bench::TimedFileSystem files(real.files);
    bench::TimedAccounts accounts(real.accounts);
    bench::TimedRegistry listRegistry(real.timedList);
    quillet::fakes::FakeMainView view;
    quillet::TMain main(view, quillet::Ports{registry, files, real.locale, real.clock, dialogs, runner, nullptr,
                                             nullptr, nullptr, nullptr, windows64, &accounts, &listRegistry});
    main.Catalogue().ApplySortState(0, true);
    quillet::EntryCatalogue& list = main.Catalogue();

    Spread load, timed, registryTimes, fileTimes, accountTimes, own, details, detailsRegistry, detailsOwn;
    for (int run = 0; run < runs; ++run) {
        load.Add(Seconds([&] { plain.Guard([&] { plain.Catalogue().LoadPrograms(); }); }));
        registry.watch.Reset();
        files.watch.Reset();
        accounts.watch.Reset();
        listRegistry.watch.Reset();  // the focused row's details, for its buttons
        timed.Add(Seconds([&] { main.Guard([&] { list.LoadPrograms(); }); }));
        const double registryTime = registry.watch.seconds + listRegistry.watch.seconds;
        registryTimes.Add(registryTime);
        fileTimes.Add(files.watch.seconds);
        accountTimes.Add(accounts.watch.seconds);
        own.Add(timed.values.back() - registryTime - files.watch.seconds - accounts.watch.seconds);
        listRegistry.watch.Reset();
        details.Add(Seconds([&] { list.NeedAllDetails(); }));
        detailsRegistry.Add(listRegistry.watch.seconds);
        detailsOwn.Add(details.values.back() - listRegistry.watch.seconds);
    }
    for (const auto& failure : dialogs.failures) std::fprintf(stderr, "error: %s\n", failure.c_str());
    std::printf("rows=%zu bad=%d windows64=%d sources=%zu\n", main.Rows().size(), list.BadCount, windows64 ? 1 : 0,
                list.Sources().size());
    load.Print("load");
    timed.Print("timed_load");
    std::printf("registry_calls=%ld file_calls=%ld account_calls=%ld\n", registry.watch.calls, files.watch.calls,
                accounts.watch.calls);
    registryTimes.Print("registry");
    fileTimes.Print("files");
    accountTimes.Print("accounts");
    own.Print("own");
    details.Print("details");
    detailsRegistry.Print("details_registry");
    detailsOwn.Print("details_own");

    // Quillet's own work in its parts, each timed apart on the loaded rows.
    // The validity test as a load runs it: one batch, one Judge per row.
    quillet::CommandChecker checker(files, real.locale);
    const auto checkAll = [&](bool reasons) {
        files.watch.Reset();
        const double all = Seconds([&] {
            checker.BeginBatch();
            for (const quillet::EntryRow& row : main.Rows()) {
                if (reasons) checker.Judge(row.command);
                else checker.IsValidCommand(row.command);
            }
            checker.EndBatch();
        });
        return all - files.watch.seconds;
    };
    Spread checks, reasons, rows, keys, sortOfLoad;
    auto& programs = list.Programs;
    for (int run = 0; run < runs; ++run) {
        const double verdicts = checkAll(false);
        const double judged = checkAll(true);
        checks.Add(judged);
        reasons.Add(judged - verdicts);
        // Each entry's values read and made into a row, registry calls taken out.
        registry.watch.Reset();
        const double made = Seconds([&] {
            for (const quillet::EntryRow& row : main.Rows()) {
                quillet::EntryRow copy;
                if (list.OpenEntryKey(row.Key())) quillet::ReadEntryNames(registry, copy);
            }
        });
        rows.Add(made - registry.watch.seconds);
        keys.Add(Seconds([&] {
            programs.ForgetKeys();
            programs.MakeKeys();
        }));
        programs.ForgetKeys();
        sortOfLoad.Add(Seconds([&] { programs.SortByColumn(0, true); }));
    }
    registry.SetRootKey(quillet::RootKey::LocalMachine);
    // Of a first sort by command line: the locale's keys alone.
    Spread localeKeys;
    for (int run = 0; run < runs; ++run)
        localeKeys.Add(Seconds([&] {
            for (const quillet::EntryRow& row : main.Rows()) real.locale.SortKey(row.command);
        }));
    localeKeys.Print("locale_keys1");
    checks.Print("checks");
    reasons.Print("reasons");
    rows.Print("rows_made");
    keys.Print("keys");
    sortOfLoad.Print("sort");

    // The first sort by each column after a load, from the name order, and
    // the next one (the other direction).
    for (int column = 0; column < programs.ColumnCount(); ++column) {
        Spread sort, again;
        for (int run = 0; run < runs; ++run) {
            programs.SortByColumn(0, false);
            programs.ForgetKeys();
            sort.Add(Seconds([&] { programs.SortByColumn(column, true); }));
            again.Add(Seconds([&] { programs.HeaderClick(column, -1); }));  // the other way round
        }
        const std::string name = "sort" + std::to_string(column);
        sort.Print(name.c_str());
        again.Print((name + "_again").c_str());
    }

    // The live list's reload after one entry changed outside, beside one
    // with nothing changed and a first load, in turns.
    quillet::win32::Win32Registry outside;
    const quillet::EntryKey changed = main.Rows().front().Key();
    Spread reload, same, first;
    for (int run = 0; run < runs; ++run) {
        outside.SetRootKey(quillet::SourceRoot(changed.hive));
        if (changed.view != quillet::RegistryView::Native) outside.SetView(changed.view);
        if (outside.OpenKey(quillet::EntryCatalogue::EntryPath(changed), false))
            outside.WriteString("DisplayName", "Changed outside " + std::to_string(run));
        outside.CloseKey();
        reload.Add(Seconds([&] { plain.Guard([&] { plain.Catalogue().FollowRegistry(); }); }));
        same.Add(Seconds([&] { plain.Guard([&] { plain.Catalogue().FollowRegistry(); }); }));
        first.Add(Seconds([&] { plain.Guard([&] { plain.Catalogue().LoadPrograms(); }); }));
    }
    reload.Print("reload");
    same.Print("reload_same");
    first.Print("first");

    // AddLog into a full log: each call drops the oldest record.
    while (main.Log().Size() < quillet::ActionsLog::kCap) main.Logging().AddLog("filler", "", 0);
    Spread addLog;
    for (int run = 0; run < runs; ++run)
        addLog.Add(Seconds([&] {
            for (int i = 0; i < 1000; ++i) main.Logging().AddLog("Application \"X\" successfuly uninstalled.", "", 0);
        }));
    addLog.Print("addlog1000");
    return 0;
}
