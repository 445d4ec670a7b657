#include "catalogue/Verdict.h"

namespace quillet {

namespace {

// A registry value may hold line breaks and other controls: one line, always.
std::string Shown(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

}  // namespace

std::string ReasonText(const Reason& reason)
{
    const std::string path = Shown(reason.path);
    switch (reason.why) {
    case Why::Unchecked:
        break;
    case Why::Exists:
        return "Good: the program is there: " + path;
    case Why::OnSearchPath:
        return "Good: found through the search path at " + path;
    case Why::Rundll:
        return "Good: run by rundll32, not looked up";
    case Why::Variable:
        return "Good: starts with an unexpanded variable, not looked up";
    case Why::Removable:
        return "Good: on removable media in drive " + path + ", taken as present";
    case Why::NoFile:
        return "Bad: the file does not exist: " + path;
    case Why::NoFolder:
        return "Bad: the folder does not exist: " + path;
    case Why::Folder:
        return "Bad: the name is a folder: " + path;
    case Why::NotOnSearchPath:
        return "Bad: \"" + path + "\" is in none of the " + std::to_string(reason.searched) + " search folders";
    case Why::NoDrive:
        return "Bad: drive " + path + " does not exist";
    case Why::DriveNotReady:
        return "Bad: drive " + path + " is not ready";
    case Why::NoName:
        return "Bad: the command names no program";
    case Why::NotStarted:
        return "Bad: the uninstaller could not be started";
    }
    return std::string();
}

}  // namespace quillet
