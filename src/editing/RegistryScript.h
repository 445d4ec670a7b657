#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class Locale;

// A registry script (".reg" file) read the way the registry editor imports
// it: REGEDIT4 in the ANSI code page, or "Windows Registry Editor Version
// 5.00" in UTF-16LE. Text is UTF-8; a name with an unpaired surrogate keeps
// it in its 3-byte form.
struct ScriptValue {
    std::string name;  // empty: the default value, "@"
    bool remove = false;  // "NAME"=-
    std::uint32_t type = 0;
    std::string data;  // the bytes the editor stores: string data as UTF-16LE
};
struct ScriptKey {
    std::string path;  // as between the brackets, without the '-'
    bool remove = false;  // "[-PATH]": the key and all below it go
    std::vector<ScriptValue> values;
    size_t line = 0;  // of its heading, from 1
};
struct ScriptComment {
    std::string text;  // after the ';' (or '#')
    size_t keysBefore = 0;  // how many sections come before it
    size_t line = 0;
};
struct RegistryScript {
    bool unicode = false;
    std::vector<ScriptKey> keys;
    std::vector<ScriptComment> comments;
    // Lines the editor would skip or refuse: bad syntax, a value outside any
    // section or after "[-PATH]". From 1.
    std::vector<size_t> rejected;
};

// The bytes of a whole file: a UTF-16LE byte order mark means the Unicode
// format, anything else is read in the ANSI code page. False, with the
// reason, when the first line is neither heading.
bool ReadRegistryScript(std::string_view file, const Locale& ansi, RegistryScript& script, std::string& error);

// The same for text already in UTF-8, heading included. `ansi` converts the
// hex string data of a REGEDIT4 file, which the editor reads in the code page.
bool ParseRegistryScript(std::string_view text, const Locale& ansi, RegistryScript& script, std::string& error);

}  // namespace quillet
