// Times the program list's work against the real registry, files and locale,
// with a view that draws nothing: LoadPrograms, how it splits between the
// registry and the validity checks, a sort by each column, and AddLog into a
// full log. Prints "name=seconds" pairs (medians of RUNS runs).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "Timing.h"
#include "app/MainFrm.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/win32/Win32Locale.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"

using bench::Median;
using bench::MedianOf;
using bench::Now;

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    quillet::fakes::FakeMainView view;
    quillet::fakes::FakeDialogs dialogs;
    quillet::win32::Win32Registry registry;
    quillet::win32::Win32FileSystem files;
    quillet::win32::Win32Locale locale;
    quillet::win32::Win32Clock clock;
    quillet::fakes::FakeRunner runner;
    quillet::TMain main(view, quillet::Ports{registry, files, locale, clock, dialogs, runner});
    main.Catalogue().ApplySortState(0, true);

    const double load = Median(runs, [&] { main.Guard([&] { main.Catalogue().LoadPrograms(); }); });
    for (const auto& failure : dialogs.failures) std::fprintf(stderr, "error: %s\n", failure.c_str());
    std::printf("rows=%zu bad=%d load=%.3f\n", main.Rows().size(), main.Catalogue().BadCount, load);

    // Where the load's time goes: the registry reads alone, then the checks alone.
    const double registryTime = Median(1, [&] {
        registry.SetRootKey(quillet::RootKey::LocalMachine);
        registry.OpenKey(quillet::kUninstallKey, false);
        for (const auto& name : registry.GetKeyNames()) {
            registry.OpenKey(std::string(quillet::kUninstallKey) + name, false);
            registry.ReadString("DisplayName");
            registry.ReadString("UninstallString");
        }
    });
    quillet::CommandChecker checker(files, locale);
    const double checks = Median(1, [&] {
        checker.BeginBatch();
        for (const auto& row : main.Rows()) checker.IsValidCommand(row.command);
        checker.EndBatch();
    });
    // The same checks with their reasons, as the load makes them.
    const double reasons = Median(1, [&] {
        checker.BeginBatch();
        for (const auto& row : main.Rows()) checker.Judge(row.command);
        checker.EndBatch();
    });
    std::printf("registry=%.3f checks=%.3f reasons=%.3f\n", registryTime, checks, reasons);

    // A sort by each column, from the order of the load (by name).
    for (int column = 0; column < quillet::TSTListView::kColumnCount; ++column) {
        const double sort = MedianOf(runs, [&] {
            main.Catalogue().Programs.SortByColumn(0, true);  // back to the name order, descending
            const double start = Now();
            main.Catalogue().Programs.SortByColumn(column, false);
            return Now() - start;
        });
        std::printf("sort%d=%.3f\n", column, sort);
    }

    // AddLog into a full log: each call drops the oldest record.
    while (main.Log().Size() < quillet::ActionsLog::kCap) main.Logging().AddLog("filler", "", 0);
    const double addLog = Median(runs, [&] {
        for (int i = 0; i < 1000; ++i) main.Logging().AddLog("Application \"X\" successfuly uninstalled.", "", 0);
    });
    std::printf("addlog1000=%.3f logsize=%zu\n", addLog, main.Log().Size());
    return 0;
}
