#include "catalogue/OneLoadFileSystem.h"

#include "common/Text.h"

namespace quillet {

namespace {

constexpr size_t kMaxPath = 260;

std::string AsciiLowered(std::string text)
{
    for (char& c : text) c = AsciiLower(c);
    return text;
}

// CON, NUL, COM1 and the like name a device, with any extension.
bool IsDeviceName(const std::string& part)
{
    const std::string stem = AsciiLowered(part.substr(0, part.find('.')));
    static const std::set<std::string> devices = {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"};
    if (devices.count(stem)) return true;
    return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

bool IsPlainPart(const std::string& part)
{
    if (part.empty() || part == "." || part == "..") return false;
    if (part.back() == '.' || part.back() == ' ') return false;
    for (char c : part) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b > 0x7E) return false;
        if (std::string_view("/:*?\"<>|~").find(c) != std::string_view::npos) return false;
    }
    return !IsDeviceName(part);
}

}  // namespace

std::vector<std::string> PlainPathParts(const std::string& name)
{
    if (name.size() < 4 || name.size() >= kMaxPath || name[1] != ':' || name[2] != '\\') return {};
    const char drive = AsciiLower(name[0]);
    if (drive < 'a' || drive > 'z') return {};
    std::vector<std::string> parts{name.substr(0, 2)};
    size_t start = 3;
    for (;;) {
        const size_t end = name.find('\\', start);
        parts.push_back(name.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!IsPlainPart(parts.back())) return {};
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

unsigned OneLoadFileSystem::DriveType(const std::string& root)
{
    const auto known = driveTypes_.find(root);
    if (known != driveTypes_.end()) return known->second;
    return driveTypes_[root] = files_.DriveType(root);
}

FileSystem::Presence OneLoadFileSystem::DirectoryPresence(const std::string& name)
{
    const auto known = directories_.find(name);
    if (known != directories_.end()) return known->second;
    // Below a directory found missing, or absent from a listing above it: no
    // need to ask (a reason for a bad entry asks about every folder of its path).
    const std::vector<std::string> parts = PlainPathParts(name);
    std::string parent = parts.empty() ? std::string() : parts[0] + "\\";
    for (size_t i = 1; i < parts.size(); ++i) {
        if (i > 1) {
            const auto above = directories_.find(parent);
            if (above != directories_.end() && above->second == Presence::Missing) return Presence::Missing;
        }
        if (!Listed(parent, parts[i])) return Presence::Missing;
        parent = (i == 1 ? parts[0] : parent) + "\\" + parts[i];
    }
    return directories_[name] = files_.DirectoryPresence(name);
}

bool OneLoadFileSystem::FileExists(const std::string& name)
{
    const auto known = answers_.find(name);
    if (known != answers_.end()) return known->second;
    return answers_[name] = Probe(name);
}

bool OneLoadFileSystem::Listed(const std::string& directory, const std::string& part) const
{
    const auto listing = listings_.find(directory);
    return listing == listings_.end() || !listing->second.decides ||
           listing->second.names.count(AsciiLowered(part)) != 0;
}

void OneLoadFileSystem::Missed(const std::string& directory)
{
    // A directory with a second miss in it is listed, once.
    if (++misses_[directory] != 2) return;
    Listing& made = listings_[directory];
    const auto names = files_.ListDirectory(directory);
    if (!names) return;
    made.decides = true;
    for (const std::string& entry : *names) {
        for (char c : entry) {
            const auto b = static_cast<unsigned char>(c);
            // A letter the ANSI listing could not show might match anything.
            if (b < 0x20 || b > 0x7E || c == '?') made.decides = false;
        }
        made.names.insert(AsciiLowered(entry));
    }
}

bool OneLoadFileSystem::Probe(const std::string& name)
{
    const std::vector<std::string> parts = PlainPathParts(name);
    if (parts.empty()) return files_.FileExists(name);

    // paths[i] is the directory that holds parts[i + 1]; paths[0] is the
    // drive's root, which is never asked about: the probe tells as much.
    std::vector<std::string> paths{parts[0] + "\\"};
    for (size_t i = 1; i + 1 < parts.size(); ++i)
        paths.push_back((i == 1 ? parts[0] : paths.back()) + "\\" + parts[i]);
    for (size_t i = 0; i < paths.size(); ++i) {
        if (i > 0) {
            const auto known = directories_.find(paths[i]);
            if (known != directories_.end() && known->second == Presence::Missing) return false;
        }
        if (!Listed(paths[i], parts[i + 1])) return false;
    }

    if (files_.FileExists(name)) return true;

    // A miss: which directory does not hold the next part? Each directory is
    // asked about once, from the top down.
    for (size_t i = 1; i < paths.size(); ++i) {
        const Presence presence = DirectoryPresence(paths[i]);
        if (presence == Presence::Unknown) return false;
        if (presence == Presence::Missing) {
            if (i > 1) Missed(paths[i - 1]);
            return false;
        }
    }
    if (paths.size() > 1) Missed(paths.back());
    return false;
}

}  // namespace quillet
