#pragma once
#include <array>
#include <string>

#include "app/Settings.h"

namespace quillet {

// The window's placement as the platform keeps it.
struct WindowPlacement {
    int flags = 0;
    int showCmd = 1;              // 0 hidden, 1 normal, 2 minimised, ...
    std::array<int, 4> minMax{};  // minimised x, y, maximised x, y
    std::array<int, 4> normal{};  // left, top, right, bottom of the restored window

    bool operator==(const WindowPlacement& o) const
    {
        return flags == o.flags && showCmd == o.showCmd && minMax == o.minMax && normal == o.normal;
    }
};

struct ScreenInfo {
    int width = 1024, height = 768;
    int pixelsPerInch = 96;
    int frameX = 4, frameY = 4;  // a sizeable window's frame
};

// The main window as the placement component sees it.
class PlacementWindow {
public:
    virtual ~PlacementWindow() = default;
    virtual WindowPlacement GetPlacement() const = 0;
    virtual void SetPlacement(const WindowPlacement& placement) = 0;
    virtual bool WindowVisible() const = 0;
    // The application is minimised (possibly hidden in the notification area).
    virtual bool AppMinimised() const = 0;
    virtual ScreenInfo Screen() const = 0;
};

// The window placement component: restores and saves the position keys of
// one section of the settings file.
class TFormStorage {
public:
    static constexpr int kShowHidden = 0;
    static constexpr int kShowMinimized = 2;

    TFormStorage(PlacementWindow& window, ProfileFile& profile) : window_(window), profile_(profile) {}

    std::string IniFileName;
    std::string IniSection = "Main";
    int Version = 0;

    void RestoreFormPlacement();
    // Raises "Unable to write to FILE" when the platform refuses a write.
    void SaveFormPlacement() { Save(false); }
    // Destruction of the window: saves (with Visible=1) unless a save came
    // after the last restore.
    void FormDestroy();
    bool Restored() const { return restored_; }

private:
    void Save(bool destroying);
    PlacementWindow& window_;
    ProfileFile& profile_;
    bool restored_ = false;
    bool saved_ = false;
};

}  // namespace quillet
