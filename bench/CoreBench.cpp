// The program list's own work on the in-memory fakes, natively: a load of N
// entries shaped like generate.py's (its details, and with "every-source" its
// sources: both views of the machine, the current user, another user), a sort
// by each column, and a reload after one outside change. For instruction
// counts that repeat from run to run:
//   valgrind --tool=callgrind build/bench-native/core_bench 10000 stale every-source
// The fakes' own cost (FakeRegistry, FakeFileSystem, FakeLocale) shows apart
// in callgrind's inclusive counts.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fakes/CoreHarness.h"
#include "fakes/FakeAccounts.h"

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

const std::string kOtherSid = "S-1-5-21-1004336348-1177238915-682003330-1001";

// One entry of generate.py, values in its order.
void Seed(FakeRegistry& registry, FakeFileSystem& files, int i, bool stale, bool everySource)
{
    const std::string n = std::to_string(i);
    const char* names[] = {"Bench App ", "Tools & Utilities ", "The \"Quoted\" Suite ", "Caf\xc3\xa9 R\xc3\xa9seau ",
                           "\xc3\x9c" "bersetzer Pro "};
    char guid[64];
    std::snprintf(guid, sizeof guid, "{BE7C%04X-0000-4000-8000-%012X}", i, i);
    const std::string subkey = i % 3 == 0 ? guid : i % 3 == 1 ? "BenchApp" + n + "_is1" : "Bench App " + n;
    std::string command;
    if (i % 10 < 7) {
        std::string program = "C:\\Program Files\\Bench\\App " + n + "\\uninst.exe";
        if (i % 2 == 0)
            for (char& c : program)
                if (c == ' ') c = '_';
        files.AddFile(program);
        command = i % 2 ? "\"" + program + "\" /S" : program;
    } else if (stale) {
        command = i % 10 < 9 ? "C:\\Old\\App " + n + "\\uninst.exe /S" : "nothere" + n + ".exe /x";
    } else if (i % 10 < 9) {
        command = "\"C:\\Program Files\\Gone\\App " + n + "\\uninst.exe\" /x";
    } else {
        const std::string special[] = {
            "RunDll32 advpack.dll,LaunchINFSection C:\\windows\\inf\\b" + n + ".inf,Uninstall",
            "%ProgramFiles%\\Bench\\App " + n + "\\unins000.exe", std::string("MsiExec.exe /X") + guid};
        command = special[i % 3];
    }

    const int slot = everySource ? i % 20 : 0;
    const RootKey root = slot < 18 ? RootKey::LocalMachine : slot == 18 ? RootKey::CurrentUser : RootKey::Users;
    const RegistryView view = slot >= 14 && slot < 18 ? RegistryView::Bits32 : RegistryView::Native;
    const std::string below = (slot == 19 ? kOtherSid + "\\" : std::string()) + kUninstallPath + "\\" + subkey;
    auto& key = registry.Make(root, below, view);
    const auto text = [&](const char* name, const std::string& value) { FakeRegistry::Set(key, name, kSz, value + '\0'); };
    const auto dword = [&](const char* name, uint32_t value) {
        FakeRegistry::Set(key, name, kDword, std::string(reinterpret_cast<const char*>(&value), 4));
    };
    text("DisplayName", names[i % 5] + n);
    text("UninstallString", command);
    const char* makers[] = {"Bench Software", "Tools & Co", "Caf\xc3\xa9 Labs", "\xc3\x9c" "bersetzer GmbH",
                            "The \"Quoted\" Group", "Northwind", "Contoso", "Fabrikam", "Litware", "Adventure Works"};
    text("Publisher", std::string(makers[i % 10]) + " " + std::to_string(i % 15));
    const std::string versions[] = {
        std::to_string(i % 17) + "." + std::to_string(i % 7) + "." + std::to_string(i % 1000),
        std::to_string(i % 5) + "." + std::to_string(i % 13),
        std::to_string(2000 + i % 25) + "." + std::to_string(i % 12 + 1) + " Beta " + std::to_string(i % 3),
        "10.0." + std::to_string(19000 + i % 1000) + "." + std::to_string(i % 500)};
    if (i % 25 == 0) {
        dword("VersionMajor", static_cast<uint32_t>(i % 9));
        dword("VersionMinor", static_cast<uint32_t>(i % 31));
    } else {
        text("DisplayVersion", versions[i % 4]);
    }
    char date[16];
    std::snprintf(date, sizeof date, "%d%02d%02d", 2010 + i % 15, i % 12 + 1, i % 28 + 1);
    text("InstallDate", i % 50 == 0 ? "2023-01-05" : date);
    dword("EstimatedSize", static_cast<uint32_t>((static_cast<int64_t>(i) * 7919) % 5000000));
    const std::string folder = "C:\\Program Files\\Bench\\App " + n;
    text("DisplayIcon", folder + "\\app.exe,0");
    text("InstallLocation", folder + "\\");
    text("URLInfoAbout", "https://example.com/apps/" + n);
    text("HelpLink", "https://example.com/apps/" + n + "/help");
    dword("NoModify", 1);
    dword("NoRepair", 1);
    if (i % 3 == 0) text("QuietUninstallString", command + " /quiet");
    if (i % 100 == 1) dword("SystemComponent", 1);
    if (i % 100 == 51) {
        text("ParentKeyName", "Bench App 0");
        text("ReleaseType", "Security Update");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const bool stale = argc > 2 && std::string(argv[2]) == "stale";
    const bool everySource = argc > 3 && std::string(argv[3]) == "every-source";
    CoreFakes fakes;
    FakeAccounts accounts;
    accounts.current = "S-1-5-21-0-0-0-1000";
    fakes.ports.windows64 = everySource;
    fakes.ports.accounts = &accounts;
    for (int i = 0; i < count; ++i) Seed(fakes.registry, fakes.files, i, stale, everySource);
    fakes.files.path = "C:\\WINDOWS;C:\\Tools";
    TMain main(fakes.view, fakes.ports);
    EntryCatalogue& list = main.Catalogue();
    list.ApplySortState(0, true);

    const double load = Time([&] { list.LoadPrograms(); });
    std::printf("rows=%zu bad=%d load=%.3f\n", list.Rows().size(), list.BadCount, load);
    for (int column = 0; column < list.Programs.ColumnCount(); ++column) {
        list.Programs.SortByColumn(0, false);
        std::printf("sort%d=%.4f\n", column, Time([&] { list.Programs.SortByColumn(column, true); }));
    }
    list.Programs.SortByColumn(0, false);
    FakeRegistry::Set(*fakes.registry.Find(RootKey::LocalMachine, kUninstallPath + "\\BenchApp1_is1"), "DisplayName",
                      kSz, std::string("Changed outside") + '\0');
    std::printf("reload=%.3f\n", Time([&] { list.FollowRegistry(); }));
    return 0;
}
