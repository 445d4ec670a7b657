#pragma once
#include <cstdint>
#include <string>

namespace quillet {

// Why the validity test judged a command good or bad: a small code and the
// path it concerns, kept with the row and put into words only when shown.
enum class Why : uint8_t {
    Unchecked,
    // good
    Exists,        // the program file at `path`
    OnSearchPath,  // found through the search path at `path`
    Rundll,        // run by the library loader: not looked up
    Variable,      // starts with an unexpanded %variable%: not looked up
    Removable,     // on removable media or a CD-ROM in drive `path`
    // bad
    NoFile,           // `path` does not exist
    NoFolder,         // the folder `path` does not exist
    Folder,           // `path` is a folder
    NotOnSearchPath,  // the bare name `path` is in none of `searched` folders
    NoDrive,          // drive `path` does not exist
    DriveNotReady,    // drive `path` is not ready
    NoName,           // the command names no file
    NotStarted,       // the uninstaller could not be started
};

struct Reason {
    Why why = Why::Unchecked;
    uint32_t searched = 0;
    std::string path;
};

struct Verdict {
    bool valid = false;
    Reason reason;
};

// A short sentence for the user; control characters of the path become blanks.
std::string ReasonText(const Reason& reason);

}  // namespace quillet
