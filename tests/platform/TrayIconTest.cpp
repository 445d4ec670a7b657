#include <windows.h>

#include <gtest/gtest.h>

#include "app/win32/TrayIcon.h"

using quillet::win32::TRxTrayIcon;

namespace {

std::vector<HICON> Frames()
{
    std::vector<HICON> frames;
    for (int i = 0; i < quillet::kTrayFrameCount; ++i) frames.push_back(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
    return frames;
}

// The timer thread and the caller's hint changes share the icon record: both
// keep going side by side, and turning the animation off ends the timer at once.
TEST(TrayIcon, AnimationAndHintChangesRunSideBySide)
{
    TRxTrayIcon tray;
    tray.Create(LoadIconA(nullptr, IDI_APPLICATION), Frames);  // loaded at the first animation
    tray.Show();
    for (int round = 0; round < 3; ++round) {
        tray.SetAnimated(true);
        std::vector<int> seen;
        for (int i = 0; i < 40; ++i) {
            seen.push_back(tray.Frame());
            tray.SetHint("Adding or removing \"" + std::string(static_cast<size_t>(i) * 3, 'x') + "\"");
            Sleep(2);
        }
        // 50 ms a frame: the index moved on, one step at a time.
        EXPECT_GE(seen.back() - seen.front(), 1) << round;
        const DWORD start = GetTickCount();
        tray.SetAnimated(false);
        EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(tray.Interval)) << round;
        EXPECT_EQ(tray.Frame(), 0);
    }
    tray.Destroy();
}

}  // namespace
