#include "catalogue/OneLoadFileSystem.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/Text.h"

namespace quillet {

namespace {

constexpr size_t kMaxPath = 260;

std::string AsciiLowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered) c = AsciiLower(c);
    return lowered;
}

// CON, NUL, COM1 and the like name a device, with any extension.
bool IsDeviceName(std::string_view part)
{
    const std::string_view stem = part.substr(0, part.find('.'));
    for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"})
        if (SameName(stem, device)) return true;
    return stem.size() == 4 && (SameName(stem.substr(0, 3), "com") || SameName(stem.substr(0, 3), "lpt")) &&
           stem[3] >= '0' && stem[3] <= '9';
}

// Printable ASCII but none of / : * ? " < > | ~ (a table: every probe asks).
constexpr std::array<bool, 256> kPlainChars = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c <= 0x7E; ++c) plain[static_cast<size_t>(c)] = true;
    for (const char c : std::string_view("/:*?\"<>|~")) plain[static_cast<unsigned char>(c)] = false;
    return plain;
}();

bool IsPlainPart(std::string_view part)
{
    if (part.empty() || part == "." || part == "..") return false;
    if (part.back() == '.' || part.back() == ' ') return false;
    for (char c : part)
        if (!kPlainChars[static_cast<unsigned char>(c)]) return false;
    return !IsDeviceName(part);
}

// A plain drive path in parts, as places in the name (nothing copied): part
// 0 is the drive ("C:"), part i > 0 ends at ends[i]; folder i is the one
// holding part i + 1 (folder 0 the drive's root, "C:\").
struct Parts {
    std::string_view name;
    size_t count = 0;
    std::array<uint16_t, kMaxPath / 2 + 2> ends{};  // a part has a letter and a '\'

    std::string_view Part(size_t i) const
    {
        return i == 0 ? name.substr(0, 2) : name.substr(ends[i - 1] + 1u, ends[i] - ends[i - 1] - 1u);
    }
    std::string_view Folder(size_t i) const { return name.substr(0, i == 0 ? 3 : ends[i]); }
};

bool SplitPlain(std::string_view name, Parts& parts)
{
    if (name.size() < 4 || name.size() >= kMaxPath || name[1] != ':' || name[2] != '\\') return false;
    const char drive = AsciiLower(name[0]);
    if (drive < 'a' || drive > 'z') return false;
    parts.name = name;
    parts.count = 0;
    parts.ends[parts.count++] = 2;
    for (size_t start = 3;;) {
        const size_t end = std::min(name.find('\\', start), name.size());
        if (!IsPlainPart(name.substr(start, end - start))) return false;
        parts.ends[parts.count++] = static_cast<uint16_t>(end);
        if (end == name.size()) return true;
        start = end + 1;
    }
}

}  // namespace

std::vector<std::string> PlainPathParts(const std::string& name)
{
    Parts parts;
    if (!SplitPlain(name, parts)) return {};
    std::vector<std::string> split;
    for (size_t i = 0; i < parts.count; ++i) split.emplace_back(parts.Part(i));
    return split;
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
    Parts parts;
    if (SplitPlain(name, parts)) {
        for (size_t i = 1; i < parts.count; ++i) {
            if (i > 1) {
                const auto above = directories_.find(parts.Folder(i - 1));
                if (above != directories_.end() && above->second == Presence::Missing) return Presence::Missing;
            }
            if (!Listed(parts.Folder(i - 1), parts.Part(i))) return Presence::Missing;
        }
    }
    return directories_[name] = files_.DirectoryPresence(name);
}

bool OneLoadFileSystem::FileExists(const std::string& name)
{
    const auto known = answers_.find(name);
    if (known != answers_.end()) return known->second;
    const bool exists = Probe(name);
    answers_.emplace(name, exists);
    return exists;
}

bool OneLoadFileSystem::Listed(std::string_view directory, std::string_view part) const
{
    const auto listing = listings_.find(directory);
    return listing == listings_.end() || !listing->second.decides ||
           listing->second.names.count(AsciiLowered(part)) != 0;
}

void OneLoadFileSystem::Missed(std::string_view directory)
{
    // A directory with a second miss in it is listed, once.
    auto misses = misses_.find(directory);
    if (misses == misses_.end()) misses = misses_.emplace(std::string(directory), 0).first;
    if (++misses->second != 2) return;
    Listing& made = listings_[std::string(directory)];
    const auto names = files_.ListDirectory(std::string(directory));
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
    Parts parts;
    if (!SplitPlain(name, parts)) return files_.FileExists(name);

    // Folder 0, the drive's root, is never asked about: the probe tells as much.
    const size_t folders = parts.count - 1;
    for (size_t i = 0; i < folders; ++i) {
        if (i > 0) {
            const auto known = directories_.find(parts.Folder(i));
            if (known != directories_.end() && known->second == Presence::Missing) return false;
        }
        if (!Listed(parts.Folder(i), parts.Part(i + 1))) return false;
    }

    if (files_.FileExists(name)) return true;

    // A miss: which directory does not hold the next part? Each directory is
    // asked about once, from the top down.
    for (size_t i = 1; i < folders; ++i) {
        const Presence presence = DirectoryPresence(std::string(parts.Folder(i)));
        if (presence == Presence::Unknown) return false;
        if (presence == Presence::Missing) {
            if (i > 1) Missed(parts.Folder(i - 1));
            return false;
        }
    }
    if (folders > 1) Missed(parts.Folder(folders - 1));
    return false;
}

}  // namespace quillet
