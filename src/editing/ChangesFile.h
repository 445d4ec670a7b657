#pragma once
#include <string>
#include <vector>

#include "editing/KeySnapshot.h"

namespace quillet {

class FileWriter;
class Locale;
struct LocalTime;

// "Changes " + date + ".reg": the day's file of what each change replaced,
// in the ANSI code page; " Unicode" before ".reg" for the changes that do
// not fit it, in the registry editor's Unicode format.
std::string ChangesFileName(const LocalTime& today, bool unicode = false);

// One change: a comment with the time and the command, then for each key
// the way back: "[-KEY]" where the change leaves a key that was not there
// or differs, and every key that was, with each value in the hex form of
// its type, so that the registry editor brings back the bytes. A change of
// some values only gives "[KEY]" and those values, each as it was or
// "NAME"=- where it was missing.
struct ChangedKey {
    std::string path;  // as the registry editor names it
    const KeySnapshot& before;  // the capture itself: a key may hold megabytes
    bool keyStays = false;  // the key is there after the change
    const std::vector<std::string>* only = nullptr;  // the values changed; none: the whole key
};
struct ChangesText {
    // ANSI bytes for REGEDIT4; when `unicode`, the UTF-8 of the lines of the
    // Unicode format, written as UTF-16LE.
    std::string text;
    bool unicode = false;
};
// Names and strings that all fit the ANSI code page give a REGEDIT4 section
// exactly as a REGEDIT4 export would spell it; any other gives the Unicode one.
ChangesText ChangesSection(const LocalTime& when, const std::string& command, const std::vector<ChangedKey>& keys,
                           const Locale& locale);

// Adds the section to the file (its heading first when the file is new).
// Raises QuilletError naming the file and the reason when it fails.
void AppendChanges(FileWriter& file, const std::string& path, const ChangesText& section);

}  // namespace quillet
