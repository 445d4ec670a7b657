// Which picture a row shows: its program's icon (DisplayIcon) once loaded,
// else the picture of its verdict. Icons are asked for by the rows drawn,
// loaded elsewhere, and kept by their DisplayIcon text for the run.
#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>

namespace quillet {

class IconCache {
public:
    // Beyond this many icons the rows keep the pictures of their verdicts.
    static constexpr size_t kMaxIcons = 4096;

    // The image of a DisplayIcon text, or -1 while there is none. `ask` is
    // set the first time a text is met: the caller has it loaded.
    int Image(const std::string& displayIcon, bool& ask);
    // A load ended with the image given to the icon, or -1 for none.
    void Loaded(const std::string& displayIcon, int image);
    // A list loaded anew: the texts that gave no icon may give one now.
    void ForgetMissing();
    size_t Count() const { return loaded_; }

private:
    static constexpr int kAsked = -2;
    std::unordered_map<std::string, int> images_;
    size_t loaded_ = 0;
};

// The file an icon may be read from: a path on a local drive ("C:\..."),
// never a share, a device or a name to be searched for, which would have
// an elevated program reach out for whatever an installer named.
bool IsLocalDrivePath(const std::string& path);

}  // namespace quillet
