// Times the backup export and Find against the real registry, files and
// locale, with a view and dialogs that draw nothing. Prints "name=seconds"
// pairs (medians of RUNS runs).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Timing.h"
#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/win32/Win32Locale.h"
#include "editing/win32/Win32FileWriter.h"
#include "fakes/FakeMainView.h"

using bench::Median;
using bench::MedianOf;
using bench::Now;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: backup_find_bench RUNS FILE.reg\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string file = argv[2];
    quillet::fakes::FakeMainView view;
    quillet::fakes::FakeDialogs dialogs;
    quillet::fakes::FakeRunner runner;
    quillet::win32::Win32Registry registry;
    quillet::win32::Win32FileSystem files;
    quillet::win32::Win32Locale locale;
    quillet::win32::Win32Clock clock;
    quillet::win32::Win32FileWriter writer;
    quillet::TMain main(view, quillet::Ports{registry, files, locale, clock, dialogs, runner, &writer});
    main.Catalogue().ApplySortState(0, true);
    main.Guard([&] { main.Catalogue().LoadPrograms(); });

    const double backup = Median(runs, [&] { quillet::WriteRegBackup(registry, writer, file, locale); });
    std::printf("rows=%zu backup=%.3f\n", main.Rows().size(), backup);

    // One hit, no hit, and a text in every row (every caption offered once).
    const std::pair<const char*, const char*> searches[] = {
        {"find_one", "App 9999\""}, {"find_none", "no such text"}, {"find_all", "app"}};
    for (const auto& [label, text] : searches) {
        dialogs.findText = text;
        const double time = Median(runs, [&] { main.Guard([&] { main.Find().FindMMClick(); }); });
        const size_t offered = dialogs.resultForms.empty() ? 0 : dialogs.resultForms.back().List.size();
        dialogs.resultForms.clear();
        std::printf("%s=%.3f offered=%zu\n", label, time, offered);
    }
    for (const auto& failure : dialogs.failures) std::fprintf(stderr, "error: %s\n", failure.c_str());
    return 0;
}
