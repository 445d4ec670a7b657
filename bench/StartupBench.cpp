// Times Quillet.exe from process start until its list is filled (the counts
// in the status bar show the expected number of rows), then closes it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "e2e/Driver.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench ROWS\n");
        return 2;
    }
    const std::string expected = "Shortcuts / Bad shortcuts: " + std::string(argv[1]) + " / ";
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    try {
        e2e::Quillet app;
        QueryPerformanceCounter(&start);
        app.Start();
        if (!e2e::Quillet::WaitFor([&] { return app.StatusPanel(1).rfind(expected, 0) == 0; }, 120000)) {
            std::fprintf(stderr, "unexpected counts: %s\n", app.StatusPanel(1).c_str());
            return 1;
        }
        QueryPerformanceCounter(&end);
        std::printf("%s seconds=%.3f\n", app.StatusPanel(1).c_str(),
                    double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
        app.Close();
        app.Exited(30000);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
