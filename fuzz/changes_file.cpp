// The changes file over key trees drawn from hostile bytes: in whichever
// format it is written, the registry editor's reading of it (the script
// parser) gives back the captured tree and no line of its own; a tree it
// refuses has a line break in a key name.
#include <cstdint>
#include <string>

#include "Check.h"
#include "common/Error.h"
#include "common/Text.h"
#include "common/Unicode.h"
#include "editing/ChangesFile.h"
#include "editing/RegistryScript.h"
#include "fakes/FakeFileSystem.h"

using namespace quillet;

namespace {

struct Input {
    const std::uint8_t* data;
    size_t size, at = 0;
    unsigned Byte() { return at < size ? data[at++] : 0; }
    bool Done() const { return at >= size; }
    // A name as the registry gives it: UTF-16 units, NUL and (for keys) '\' left out.
    std::string Name(bool key)
    {
        std::string units;
        for (unsigned n = Byte() % 6; n > 0; --n) {
            const unsigned low = Byte(), high = Byte() % 4 == 0 ? Byte() : 0;
            if ((low | high) == 0 || (key && high == 0 && low == '\\')) continue;
            units += static_cast<char>(low);
            units += static_cast<char>(high);
        }
        std::string name;
        Utf8FromUtf16Le(units, name);
        return key && name.empty() ? "k" : name;
    }
};

const std::uint32_t kTypes[] = {kRegNone, kRegSz, kRegExpandSz, kRegBinary, kRegDword, kRegMultiSz, kRegQword, 0x1234};

KeySnapshot Tree(Input& in, int depth)
{
    KeySnapshot key{in.Name(true), true, {}, {}};
    for (unsigned n = in.Byte() % 4; n > 0 && !in.Done(); --n) {
        RegistryValue value{in.Name(false), kTypes[in.Byte() % 8], std::string()};
        for (unsigned len = in.Byte() % 9; len > 0; --len) value.data += static_cast<char>(in.Byte());
        key.values.push_back(value);
    }
    for (unsigned n = depth < 3 ? in.Byte() % 3 : 0; n > 0 && !in.Done(); --n) key.keys.push_back(Tree(in, depth + 1));
    return key;
}

bool HasLineBreak(const KeySnapshot& key)
{
    if (key.name.find_first_of("\r\n") != std::string::npos) return true;
    for (const KeySnapshot& child : key.keys)
        if (HasLineBreak(child)) return true;
    return false;
}

bool Text(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// String data the registry editor cannot take back exactly: it ends string
// data given in hex with a NUL unit (and reads past a lone byte). No syntax
// avoids that, so the file says so in a comment before each such value.
bool Inexact(const RegistryValue& value)
{
    const std::string& d = value.data;
    return Text(value.type) && !d.empty() && (d.size() < 2 || d[d.size() / 2 * 2 - 2] || d[d.size() / 2 * 2 - 1]);
}

size_t InexactValues(const KeySnapshot& key)
{
    size_t count = 0;
    for (const RegistryValue& value : key.values) count += Inexact(value);
    for (const KeySnapshot& child : key.keys) count += InexactValues(child);
    return count;
}

void CompareValue(const RegistryValue& want, const ScriptValue& got)
{
    FUZZ_CHECK(got.name == want.name && got.type == want.type && !got.remove);
    // The one difference the comment before it owns: a lone byte is written as a whole unit.
    const bool padded = Inexact(want) && want.data.size() == 1;
    FUZZ_CHECK(got.data == (padded ? want.data + '\0' : want.data));
}

void Compare(const KeySnapshot& key, const std::string& path, const RegistryScript& script, size_t& next)
{
    FUZZ_CHECK(next < script.keys.size());
    const ScriptKey& section = script.keys[next++];
    FUZZ_CHECK(section.path == path && !section.remove);
    FUZZ_CHECK(section.values.size() == key.values.size());
    for (size_t i = 0; i < key.values.size(); ++i) CompareValue(key.values[i], section.values[i]);
    for (const KeySnapshot& child : key.keys) Compare(child, path + "\\" + child.name, script, next);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    Input in{data, size};
    const unsigned flags = in.Byte();
    const bool stays = flags & 1;
    KeySnapshot key = Tree(in, 0);
    const std::string path = "HKEY_LOCAL_MACHINE\\U\\" + key.name;
    // A change of some values only (Properties): the first two of the key and one it lacks.
    std::vector<std::string> only;
    if (flags & 2) {
        for (const RegistryValue& value : key.values)
            if (only.size() < 2) only.push_back(value.name);
        std::string missing = in.Name(false);
        for (const RegistryValue& value : key.values)
            if (SameName(value.name, missing)) missing.clear();
        if (!missing.empty()) only.push_back(missing);
        key.keys.clear();  // what such a capture holds
        if (only.empty()) only.push_back("k");
    }
    fakes::FakeLocale locale;
    ChangesText section;
    try {
        section = ChangesSection(LocalTime{2026, 12, 8, 9, 5, 7, 2}, "x",
                                 {{path, key, stays, only.empty() ? nullptr : &only}}, locale);
    } catch (const QuilletError&) {
        FUZZ_CHECK(HasLineBreak(key));
        return 0;
    }
    FUZZ_CHECK(!HasLineBreak(key));
    RegistryScript script;
    std::string error;
    const std::string heading = section.unicode ? "Windows Registry Editor Version 5.00" : "REGEDIT4";
    // REGEDIT4 lines are ANSI bytes: read in the code page, as the editor does.
    const std::string text = section.unicode ? section.text : locale.FromAnsi(section.text);
    FUZZ_CHECK(ParseRegistryScript(heading + "\r\n" + text, locale, script, error));
    FUZZ_CHECK(script.rejected.empty());
    FUZZ_CHECK(script.unicode == section.unicode);
    if (!only.empty()) {
        // "[KEY]" and each value as it was, or "NAME"=- where there was none.
        FUZZ_CHECK(script.keys.size() == 1 && script.keys[0].path == path && !script.keys[0].remove);
        FUZZ_CHECK(script.keys[0].values.size() == only.size());
        size_t inexact = 0;
        for (size_t i = 0; i < only.size(); ++i) {
            const RegistryValue* held = nullptr;
            for (const RegistryValue& value : key.values)
                if (SameName(value.name, only[i])) held = &value;
            const ScriptValue& got = script.keys[0].values[i];
            if (held) {
                CompareValue(*held, got);
                inexact += Inexact(*held);
            } else {
                FUZZ_CHECK(got.remove && got.name == only[i]);
            }
        }
        FUZZ_CHECK(script.comments.size() == 1 + inexact);
        return 0;
    }
    FUZZ_CHECK(script.comments.size() == 1 + InexactValues(key));
    size_t next = 0;
    if (stays) {
        FUZZ_CHECK(!script.keys.empty() && script.keys[0].remove && script.keys[0].path == path);
        next = 1;
    }
    Compare(key, path, script, next);
    FUZZ_CHECK(next == script.keys.size());
    return 0;
}
