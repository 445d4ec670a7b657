// Times TMain::LoadPrograms alone (registry, validity test, rows) against the
// real registry and file system, with a view that draws nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/MainFrm.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/win32/Win32Locale.h"

namespace {

class NullView : public quillet::MainView {
public:
    void ProgramsReplaced(size_t) override {}
    int FocusedProgram() const override { return -1; }
    void FocusProgram(int) override {}
    void ActivatePrograms() override {}
    void EnableButton(quillet::Button, bool) override {}
    bool ButtonEnabled(quillet::Button) const override { return true; }
    void EnableMenuItem(quillet::MenuItem, bool) override {}
    void SetStatusPanel(int, const std::string&) override {}
    void ShowError(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    NullView view;
    quillet::win32::Win32Registry registry;
    quillet::win32::Win32FileSystem files;
    quillet::win32::Win32Locale locale;
    quillet::TMain main(view, registry, files, locale);

    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        main.Guard([&] { main.LoadPrograms(); });
        QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end));
    }
    std::sort(times.begin(), times.end());
    std::printf("rows=%zu bad=%d median=%.3f min=%.3f\n", main.Programs().size(), main.BadCount,
                times[times.size() / 2], times.front());

    // Where the time goes: the registry reads alone, then the checks alone.
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    registry.SetRootKey(quillet::RootKey::LocalMachine);
    registry.OpenKey(quillet::kUninstallKey, true);
    size_t read = 0;
    for (const auto& name : registry.GetKeyNames()) {
        registry.OpenKey(std::string(quillet::kUninstallKey) + name, true);
        read += registry.ReadString("DisplayName").size() + registry.ReadString("UninstallString").size();
    }
    QueryPerformanceCounter(&end);
    const double registryTime = Seconds(start, end);
    quillet::CommandChecker checker(files, locale);
    int valid = 0;
    QueryPerformanceCounter(&start);
    for (const auto& row : main.Programs()) valid += checker.IsValidCommand(row.command);
    QueryPerformanceCounter(&end);
    std::printf("registry=%.3f checks=%.3f (bytes %zu, valid %d)\n", registryTime, Seconds(start, end), read, valid);
    return 0;
}
