#include "app/FormStorage.h"

namespace quillet {

namespace {

std::string Suffixed(const char* key, const ScreenInfo& screen)
{
    return std::string(key) + "(" + std::to_string(screen.width) + "x" + std::to_string(screen.height) + ")";
}

// The key for this screen size first, then the one last written at any size.
std::string ReadPosition(const SettingsFile& file, const std::string& section, const char* key,
                         const ScreenInfo& screen)
{
    std::string text = file.ReadString(section, Suffixed(key, screen), "");
    if (text.empty()) text = file.ReadString(section, key, "");
    return text;
}

}  // namespace

void TFormStorage::RestoreFormPlacement()
{
    saved_ = false;
    const SettingsFile file(profile_, IniFileName);
    const ScreenInfo screen = window_.Screen();
    if (file.ReadInteger(IniSection, "FormVersion", 0) >= Version) {
        WindowPlacement p = window_.GetPlacement();
        if (!window_.WindowVisible()) p.showCmd = kShowHidden;
        p.flags = file.ReadInteger(IniSection, "Flags", p.flags);
        const std::string minMax = ReadPosition(file, IniSection, "MinMaxPos", screen);
        const std::string normal = ReadPosition(file, IniSection, "NormPos", screen);
        p.minMax = ReadFourIntegers(minMax, {0, 0, 0, 0});
        p.normal = ReadFourIntegers(normal, p.normal);
        const int ppi = file.ReadInteger(IniSection, "PixelsPerInch", screen.pixelsPerInch);
        // The main window is sizeable, so the stored size is used as it stands.
        if ((!minMax.empty() || !normal.empty()) && ppi == screen.pixelsPerInch && p.normal[2] > p.normal[0])
            window_.SetPlacement(p);
    }
    restored_ = true;

    // A maximised window's frame lies outside the screen.
    WindowPlacement p = window_.GetPlacement();
    if (!window_.WindowVisible()) p.showCmd = kShowHidden;
    p.minMax[2] = -screen.frameX;
    p.minMax[3] = -screen.frameY;
    window_.SetPlacement(p);
}

void TFormStorage::Save(bool destroying)
{
    if (!restored_) return;
    // Marked first: a refused write is reported once, not again on destruction.
    saved_ = true;
    SettingsFile file(profile_, IniFileName);
    const ScreenInfo screen = window_.Screen();
    const WindowPlacement p = window_.GetPlacement();
    const std::string minMax = FourIntegersText(p.minMax), normal = FourIntegersText(p.normal);
    file.WriteInteger(IniSection, "FormVersion", Version);
    file.WriteInteger(IniSection, "Flags", p.flags);
    file.WriteInteger(IniSection, "ShowCmd", window_.AppMinimised() ? kShowMinimized : p.showCmd);
    file.WriteInteger(IniSection, "PixelsPerInch", screen.pixelsPerInch);
    file.WriteString(IniSection, Suffixed("MinMaxPos", screen), minMax);
    file.WriteString(IniSection, "MinMaxPos", minMax);
    file.WriteString(IniSection, Suffixed("NormPos", screen), normal);
    file.WriteString(IniSection, "NormPos", normal);
    file.WriteBool(IniSection, "Visible", destroying);
}

void TFormStorage::FormDestroy()
{
    if (!saved_) Save(true);
}

}  // namespace quillet
