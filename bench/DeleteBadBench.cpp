// Times Delete bad on the seeded entries, answered Yes. "window": the real
// Quillet.exe, from the Yes until the list shows the rows left; "core": the
// same command with the real registry and a view that draws nothing, and
// apart from it the capture for Undo that the command makes first. Each
// run deletes the bad entries, so the caller seeds them again in between.
#include <windows.h>

#include <cstdio>
#include <string>

#include "Timing.h"
#include "app/MainFrm.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/win32/Resource.h"
#include "common/win32/Win32Locale.h"
#include "editing/win32/Win32FileWriter.h"
#include "e2e/Driver.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"

namespace {

int Window()
{
    e2e::Quillet app;
    app.Start();
    const std::string status = app.StatusPanel(1);  // "Shortcuts / Bad shortcuts: N / B"
    const int rows = app.RowCount();
    const int bad = std::atoi(status.substr(status.rfind('/') + 1).c_str());
    // The question answered No: what closing the box alone costs.
    PostMessageA(app.Window(), WM_COMMAND, IDM_DELETEBAD, 0);
    HWND box = app.WaitForMessageBox();
    if (!box) return std::fprintf(stderr, "no question\n"), 1;
    double start = bench::Now();
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    if (!e2e::Quillet::WaitFor([&] { return !IsWindow(box); })) return std::fprintf(stderr, "box stays\n"), 1;
    SendMessageA(app.Window(), WM_NULL, 0, 0);
    const double no = bench::Now() - start;

    PostMessageA(app.Window(), WM_COMMAND, IDM_DELETEBAD, 0);
    box = app.WaitForMessageBox();
    if (!box) return std::fprintf(stderr, "no question\n"), 1;
    start = bench::Now();
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    if (!e2e::Quillet::WaitFor([&] { return app.RowCount() == rows - bad; }, 120000))
        return std::fprintf(stderr, "rows left: %d\n", app.RowCount()), 1;
    SendMessageA(app.Window(), WM_NULL, 0, 0);  // the command has returned
    const double seconds = bench::Now() - start;
    std::printf("rows=%d bad=%d window=%.3f answered_no=%.3f status=%s\n", rows, bad, seconds, no,
                app.StatusPanel(1).c_str());
    app.Close();
    app.Exited(30000);
    return 0;
}

int Core()
{
    quillet::fakes::FakeMainView view;
    quillet::fakes::FakeDialogs dialogs;
    quillet::fakes::FakeRunner runner;
    quillet::win32::Win32Registry registry;
    quillet::win32::Win32FileSystem files;
    quillet::win32::Win32Locale locale;
    quillet::win32::Win32Clock clock;
    quillet::win32::Win32FileWriter writer;
    quillet::TMain main(view, quillet::Ports{registry, files, locale, clock, dialogs, runner, &writer});
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    main.Editing().History.ChangesDir = std::string(temp) + "QuilletBench";
    main.Catalogue().ApplySortState(0, true);
    main.Guard([&] { main.Catalogue().LoadPrograms(); });
    const size_t rows = main.Rows().size();
    const int bad = main.Catalogue().BadCount;
    // What Delete bad does first, alone: every bad key captured and written
    // to the changes file. The command below does it again, then deletes.
    const std::vector<quillet::EntryKey> keys = main.Catalogue().BadKeys();
    const double capture = bench::Median(1, [&] { main.Editing().History.Prepare("bench", keys, false); });
    dialogs.answerYes = true;
    const double seconds = bench::Median(1, [&] { main.Guard([&] { main.Editing().DeleteBadBtnClick(); }); });
    DeleteFileA(main.Editing().History.ChangesPath().c_str());
    RemoveDirectoryA(main.Editing().History.ChangesDir.c_str());
    std::printf("rows=%zu bad=%d core=%.3f capture=%.3f left=%zu failures=%zu\n", rows, bad, seconds, capture,
                main.Rows().size(), dialogs.failures.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "window") return Window();
        if (mode == "core") return Core();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: delete_bench window|core\n");
    return 2;
}
