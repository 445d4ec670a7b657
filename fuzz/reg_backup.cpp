// The REGEDIT4 backup written from fuzzed uninstall entries parses back,
// with a small reader of the format, to exactly the entries that have both
// values, in the order they were made, with their names and values.
//
// What the format cannot hold is not made here: a subkey name with CR or LF
// (every item is one line, and names are never escaped), and a NUL inside a
// value (the registry's text ends at it). A value with CR or LF comes back
// from its hex(1) spelling.
//
// A value of another type stops the export, a full disk too: then no file
// may be left behind.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Check.h"
#include "editing/Backup.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeFileWriter.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;
using quillet::fuzz::Lower;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kSection = "[HKEY_LOCAL_MACHINE\\" + kUninstall;
const std::string kPath = "C:\\Backup\\Uninstall Backup 2026-12-08.reg";

struct Entry {
    std::string subkey, displayName, command;
    bool operator==(const Entry& o) const
    {
        return subkey == o.subkey && displayName == o.displayName && command == o.command;
    }
};

bool OneLine(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

// hex(1) bytes "xx,xx,...,00": lower-case pairs, the last one the closing
// NUL and the only NUL. Used only for a value with a line break.
std::optional<std::string> HexValue(const std::string& body)
{
    std::string value;
    for (size_t i = 0; i < body.size(); i += 3) {
        if (i + 2 > body.size() || (i + 2 < body.size() && body[i + 2] != ',')) return std::nullopt;
        const char* digits = "0123456789abcdef";
        const char* hi = std::strchr(digits, body[i]);
        const char* lo = std::strchr(digits, body[i + 1]);
        if (!body[i] || !body[i + 1] || !hi || !lo) return std::nullopt;
        value += static_cast<char>((hi - digits) * 16 + (lo - digits));
    }
    if (value.empty() || value.back() != '\0') return std::nullopt;
    value.pop_back();
    if (value.find('\0') != std::string::npos || value.find_first_of("\r\n") == std::string::npos)
        return std::nullopt;
    return value;
}

// "NAME"="BODY" with BODY read as the registry editor reads it: a backslash
// takes the next byte (only a backslash or a quote are escaped), a bare
// quote ends the string, which must be the line's end.
std::optional<std::string> StringValue(const std::string& line, const std::string& name)
{
    const std::string hexHead = "\"" + name + "\"=hex(1):";
    if (line.compare(0, hexHead.size(), hexHead) == 0) return HexValue(line.substr(hexHead.size()));
    const std::string head = "\"" + name + "\"=\"";
    if (line.size() < head.size() + 1 || line.compare(0, head.size(), head) != 0) return std::nullopt;
    std::string value;
    size_t i = head.size();
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\') {
            if (++i == line.size() || (line[i] != '\\' && line[i] != '"')) return std::nullopt;
        }
        value += line[i];
    }
    if (i + 1 != line.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<Entry>> ReadBack(const std::string& file)
{
    // CR LF after every line, the last one included.
    if (file.size() < 2 || file.compare(file.size() - 2, 2, "\r\n") != 0) return std::nullopt;
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = file.find("\r\n", from)) != std::string::npos; from = at + 2) {
        lines.push_back(file.substr(from, at - from));
        // The registry editor ends a line at a lone CR or LF too.
        if (!OneLine(lines.back())) return std::nullopt;
    }
    if (lines.size() < 3 || lines[0] != "REGEDIT4" || !lines[1].empty() || lines[2] != kSection + "]")
        return std::nullopt;
    if ((lines.size() - 3) % 4 != 0) return std::nullopt;
    std::vector<Entry> entries;
    for (size_t i = 3; i < lines.size(); i += 4) {
        const std::string& header = lines[i + 1];
        if (!lines[i].empty() || header.compare(0, kSection.size() + 1, kSection + "\\") != 0 || header.back() != ']')
            return std::nullopt;
        Entry e;
        e.subkey = header.substr(kSection.size() + 1, header.size() - kSection.size() - 2);
        const auto name = StringValue(lines[i + 2], "DisplayName");
        const auto command = StringValue(lines[i + 3], "UninstallString");
        if (!name || !command) return std::nullopt;
        e.displayName = *name;
        e.command = *command;
        entries.push_back(e);
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    FakeRegistry registry;
    FakeFileWriter writer;
    // Every byte is a character of the fake's code page: the file must hold the bytes as drawn.
    FakeLocale locale;
    registry.Make(RootKey::LocalMachine, kUninstall);

    std::vector<Entry> expected;
    std::set<std::string> made;
    bool badType = false;
    const size_t count = input.ConsumeIntegralInRange<size_t>(0, 8);
    for (size_t i = 0; i < count; ++i) {
        std::string subkey = input.ConsumeRandomLengthString(24);
        std::string values[2] = {input.ConsumeRandomLengthString(40), input.ConsumeRandomLengthString(80)};
        const uint8_t types = input.ConsumeIntegral<uint8_t>();
        // One key per name whatever its letter case; no backslash in a name.
        if (subkey.empty() || subkey.find('\\') != std::string::npos || !OneLine(subkey)) continue;
        if (!made.insert(Lower(subkey)).second) continue;
        auto& key = registry.Make(RootKey::LocalMachine, kUninstall + "\\" + locale.FromAnsi(subkey));
        const char* names[2] = {"DisplayName", "UninstallString"};
        bool present[2];
        for (int v = 0; v < 2; ++v) {
            std::string& value = values[v];
            value = value.substr(0, value.find('\0'));
            // Two bits a value: plain, expandable, another type, or missing.
            switch ((types >> (2 * v)) & 3) {
            case 0: FakeRegistry::Set(key, names[v], kSz, locale.FromAnsi(value) + '\0'); break;
            case 1: FakeRegistry::Set(key, names[v], kExpandSz, locale.FromAnsi(value) + '\0'); break;
            case 2:
                FakeRegistry::Set(key, names[v], kDword, std::string("\x01\x00\x00\x00", 4));
                value.clear();
                badType = true;
                break;
            default: value.clear(); break;
            }
            present[v] = !value.empty();
        }
        if (present[0] && present[1]) expected.push_back({subkey, values[0], values[1]});
    }
    const bool fullDisk = input.ConsumeBool();
    if (fullDisk) writer.spaceLeft = input.ConsumeIntegralInRange<size_t>(0, 4096);

    bool raised = false;
    try {
        FUZZ_CHECK(!WriteRegBackup(registry, writer, kPath, locale));
    } catch (const QuilletError&) {
        raised = true;
    }
    if (raised) {
        // Only a value of another type or a full disk may stop it, and then
        // nothing half-written stays.
        FUZZ_CHECK(badType || fullDisk);
        FUZZ_CHECK(writer.files.count(kPath) == 0);
        FUZZ_CHECK(!writer.open);
        return 0;
    }
    FUZZ_CHECK(!badType);
    FUZZ_CHECK(writer.files.count(kPath) == 1);
    const std::optional<std::vector<Entry>> entries = ReadBack(writer.files[kPath]);
    FUZZ_CHECK(entries.has_value());
    FUZZ_CHECK(*entries == expected);
    return 0;
}
