// Times saving and loading a full actions log (999 records) through the real
// profile functions: the program's way (erase [Log], write it as one section;
// read it back as one section) and, for comparison, one key write per record.
// Prints "name=seconds" pairs (medians of RUNS runs).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "app/win32/Win32Profile.h"

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

double Median(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        work();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: settings_bench RUNS FILE.ini\n");
        return 2;
    }
    using namespace quillet;
    const int runs = std::atoi(argv[1]);
    const std::string file = argv[2];
    DeleteFileA(file.c_str());
    win32::Win32Profile profile;
    SettingsFile settings(profile, file);
    WriteStoredSettings(settings, StoredSettings{});

    std::vector<LogRecord> records;
    for (int i = 0; i < 999; ++i)
        records.push_back({"08.12.2026 14:" + std::to_string(10 + i / 60) + ":" + std::to_string(10 + i % 50),
                           "Application \"Program number " + std::to_string(i) + "\" successfuly uninstalled.",
                           "Probably cleared: 12,5 MB", i % 2});

    const double save = Median(runs, [&] { WriteLogSection(settings, records); });
    size_t loaded = 0;
    const double load = Median(runs, [&] { loaded = ReadLogSection(settings).size(); });
    const double saveAll = Median(runs, [&] {
        WriteStoredSettings(settings, StoredSettings{});
        WriteLogSection(settings, records);
    });
    const double byKey = Median(runs, [&] {
        settings.EraseSection("Log");
        for (const LogRecord& r : records) settings.WriteString("Log", r.time, LogLineValue(r));
    });
    std::printf("records_loaded=%zu\nsave_log=%.4f\nload_log=%.4f\nsave_settings_and_log=%.4f\n"
                "save_log_key_per_record=%.4f\n",
                loaded, save, load, saveAll, byKey);
    DeleteFileA(file.c_str());
    return loaded == records.size() ? 0 : 1;
}
