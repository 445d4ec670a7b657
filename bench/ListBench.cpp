// Times the program list's work against the real registry, files and locale,
// with a view that draws nothing: LoadPrograms and how it splits between the
// registry, the files and Quillet's own work (timed inside the same loads),
// the sort keys, a sort by each column, the live list's reload after an
// outside change, and AddLog into a full log. Prints "name=seconds" pairs
// (medians of RUNS runs).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "TimedPorts.h"
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
    quillet::win32::Win32Registry realRegistry;
    quillet::win32::Win32FileSystem realFiles;
    bench::TimedRegistry registry(realRegistry);
    bench::TimedFileSystem files(realFiles);
    quillet::win32::Win32Locale locale;
    quillet::win32::Win32Clock clock;
    quillet::fakes::FakeRunner runner;
    quillet::TMain main(view, quillet::Ports{registry, files, locale, clock, dialogs, runner});
    main.Catalogue().ApplySortState(0, true);

    // One load, timed whole and in its parts: the registry's calls, the file
    // system's, and the rest (Quillet's own work: checks, rows, keys, sort).
    std::vector<double> loads, registryTimes, fileTimes, own;
    for (int run = 0; run < runs; ++run) {
        registry.watch = {};
        files.watch = {};
        const double start = Now();
        main.Guard([&] { main.Catalogue().LoadPrograms(); });
        loads.push_back(Now() - start);
        registryTimes.push_back(registry.watch.seconds);
        fileTimes.push_back(files.watch.seconds);
        own.push_back(loads.back() - registry.watch.seconds);
    }
    for (const auto& failure : dialogs.failures) std::fprintf(stderr, "error: %s\n", failure.c_str());
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("rows=%zu bad=%d load=%.3f\n", main.Rows().size(), main.Catalogue().BadCount, median(loads));
    std::printf("registry=%.3f files=%.3f own=%.3f registry_calls=%ld file_calls=%ld\n", median(registryTimes),
                median(fileTimes), median(own), registry.watch.calls, files.watch.calls);

    // The sort keys of every column, as a load makes them.
    auto& programs = main.Catalogue().Programs;
    const double keys = Median(runs, [&] {
        programs.ForgetKeys();
        programs.MakeKeys();
    });
    std::printf("keys=%.3f\n", keys);

    // A sort by each column, from the order of the load (by name).
    for (int column = 0; column < programs.ColumnCount(); ++column) {
        const double sort = MedianOf(runs, [&] {
            programs.SortByColumn(0, true);  // back to the name order, descending
            const double start = Now();
            programs.SortByColumn(column, false);
            return Now() - start;
        });
        std::printf("sort%d=%.3f\n", column, sort);
    }

    // The live list's reload after one entry changed outside.
    quillet::win32::Win32Registry outside;
    const quillet::EntryKey changed = main.Rows().front().Key();
    int round = 0;
    const double reload = Median(runs, [&] {
        outside.SetRootKey(quillet::RootKey::LocalMachine);
        if (changed.view != quillet::RegistryView::Native) outside.SetView(changed.view);
        if (outside.OpenKey(quillet::kUninstallKey + changed.subkey, false))
            outside.WriteString("DisplayName", "Changed outside " + std::to_string(++round));
        main.Guard([&] { main.Catalogue().FollowRegistry(); });
    });
    std::printf("reload=%.3f\n", reload);

    // AddLog into a full log: each call drops the oldest record.
    while (main.Log().Size() < quillet::ActionsLog::kCap) main.Logging().AddLog("filler", "", 0);
    const double addLog = Median(runs, [&] {
        for (int i = 0; i < 1000; ++i) main.Logging().AddLog("Application \"X\" successfuly uninstalled.", "", 0);
    });
    std::printf("addlog1000=%.3f logsize=%zu\n", addLog, main.Log().Size());
    return 0;
}
