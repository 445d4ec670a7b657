// The program list's own work on the in-memory fakes, natively: a load of N
// entries shaped like generate.py's, a sort by each column, and a reload
// after one outside change. For instruction counts that repeat from run to
// run: valgrind --tool=callgrind build/bench-native/core_bench 10000 stale
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

double Seconds(const std::chrono::steady_clock::time_point& start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <class Work>
double Time(Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return Seconds(start);
}

// The entries of generate.py: 70% good programs, the rest missing or exempt.
void Seed(CoreFakes& fakes, int count, bool stale)
{
    const char* names[] = {"Bench App ", "Tools & Utilities ", "The \"Quoted\" Suite ", "Caf\xc3\xa9 R\xc3\xa9seau ",
                           "\xc3\x9c" "bersetzer Pro "};
    for (int i = 0; i < count; ++i) {
        char subkey[64];
        if (i % 3 == 0) std::snprintf(subkey, sizeof subkey, "{BE7C%04X-0000-4000-8000-%012X}", i, i);
        else if (i % 3 == 1) std::snprintf(subkey, sizeof subkey, "BenchApp%d_is1", i);
        else std::snprintf(subkey, sizeof subkey, "Bench App %d", i);
        const std::string n = std::to_string(i);
        const std::string name = names[i % 5] + n;
        std::string command;
        if (i % 10 < 7) {
            const std::string program = "C:\\Program Files\\Bench\\App " + n + "\\uninst.exe";
            fakes.files.AddFile(program);
            command = "\"" + program + "\" /S";
        } else if (stale) {
            command = i % 10 < 9 ? "C:\\Old\\App " + n + "\\uninst.exe /S" : "nothere" + n + ".exe /x";
        } else {
            command = i % 10 < 9 ? "\"C:\\Program Files\\Gone\\App " + n + "\\uninst.exe\" /x"
                                 : "RunDll32 advpack.dll,LaunchINFSection C:\\windows\\inf\\b" + n + ".inf,Uninstall";
        }
        fakes.Entry(subkey, name, command);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const bool stale = argc > 2 && std::string(argv[2]) == "stale";
    CoreHarness harness;
    Seed(harness, count, stale);
    harness.files.path = "C:\\WINDOWS;C:\\Tools";
    EntryCatalogue& list = harness.main.Catalogue();
    list.ApplySortState(0, true);

    const double load = Time([&] { list.LoadPrograms(); });
    std::printf("rows=%zu bad=%d load=%.3f\n", list.Rows().size(), list.BadCount, load);
    for (int column = 0; column < TSTListView::kColumnCount; ++column) {
        list.Programs.SortByColumn(0, true);
        std::printf("sort%d=%.3f\n", column, Time([&] { list.Programs.SortByColumn(column, false); }));
    }
    list.Programs.SortByColumn(0, false);
    harness.Entry("Bench App 1", "Bench App 1 changed", "C:\\Program Files\\Bench\\App 1\\uninst.exe");
    std::printf("reload=%.3f\n", Time([&] { list.FollowRegistry(); }));
    return 0;
}
