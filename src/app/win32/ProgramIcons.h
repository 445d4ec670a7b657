// The programs' own icons for the list (DisplayIcon), loaded by a thread of
// their own for the rows drawn, into the list's two image lists.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/IconCache.h"

namespace quillet::win32 {

class ProgramIcons {
public:
    // `arrived` is posted to `window` when icons wait to be taken; the image
    // lists already hold the verdicts' pictures.
    ProgramIcons(HWND window, UINT arrived, HIMAGELIST small, HIMAGELIST big);
    ~ProgramIcons();
    ProgramIcons(const ProgramIcons&) = delete;
    ProgramIcons& operator=(const ProgramIcons&) = delete;

    // The image of a row's program, or `fallback` while it has none.
    int Image(const std::string& displayIcon, int fallback);
    // On the window's thread, after `arrived`: the icons loaded meanwhile go
    // into the image lists. True when the rows drawn may look different now.
    bool TakeArrived();
    void ForgetMissing() { cache_.ForgetMissing(); }

    // The icons of a DisplayIcon text, read as the thread reads them: false
    // when it names no icon of a file on a local drive.
    static bool Load(const std::string& displayIcon, HICON& big, HICON& small);

private:
    struct Loaded {
        std::string text;
        HICON big;
        HICON small;
    };
    void Run();

    HWND window_;
    UINT arrived_;
    HIMAGELIST small_;
    HIMAGELIST big_;
    IconCache cache_;  // the window's thread only

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> asked_;
    std::vector<Loaded> loaded_;
    bool posted_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace quillet::win32
