#pragma once
#include <string>
#include <vector>

#include "editing/KeySnapshot.h"

namespace quillet {

class FileWriter;
struct LocalTime;

// "Changes " + date + ".reg": the day's file of what each change replaced.
std::string ChangesFileName(const LocalTime& today);

// One change in REGEDIT4: a comment with the time and the command, then for
// each key the way back: "[-KEY]" where the change leaves a key that was
// not there or differs, and every key that was, with each value in the
// hex form of its type, so that the registry editor brings back the bytes.
struct ChangedKey {
    std::string path;  // as the registry editor names it
    const KeySnapshot& before;  // the capture itself: a key may hold megabytes
    bool keyStays = false;  // the key is there after the change
};
std::string ChangesSection(const LocalTime& when, const std::string& command, const std::vector<ChangedKey>& keys);

// Adds the section to the file (REGEDIT4 heading first when the file is
// new). Raises QuilletError naming the file and the reason when it fails.
void AppendChanges(FileWriter& file, const std::string& path, const std::string& section);

}  // namespace quillet
