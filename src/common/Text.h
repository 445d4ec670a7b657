#pragma once
#include <string>
#include <string_view>

namespace quillet {

class Locale;

// Maps only 'A'..'Z' to 'a'..'z'; every other byte stays as it is.
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
// The registry's way of matching value names: ASCII letters without regard to case.
inline bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// Lower-cases the ASCII letters of a path, leaving the second byte of every
// double-byte character alone (it may look like a capital letter).
std::string AsciiLowerPath(std::string_view text, const Locale& locale);

// The path with its extension replaced by `extension` (appended when the
// file name has none). Only the last path component is looked at.
std::string ChangeFileExt(std::string_view path, std::string_view extension, const Locale& locale);

// The drive and directory part of a path, up to and including its last '\\'
// or ':' (empty when it has neither).
std::string ExtractFilePath(std::string_view path, const Locale& locale);

}  // namespace quillet

namespace quillet {

// Replaces every occurrence of `find` (not empty) by `replacement`, left to
// right and without overlaps; replaced text is never searched again.
void ReplaceAll(std::string& text, const std::string& find, const std::string& replacement);

}  // namespace quillet

namespace quillet {

// A UTF-8 text made fit for a file that only holds the ANSI code page: a
// character the code page lacks becomes "&#N;" (N its decimal number) and a
// literal "&#" becomes "&#38;#", so that UnescapeReferences gives the text
// back exactly. Text that fits and holds no "&#" stays as it is.
std::string EscapeForCodePage(const std::string& utf8, const Locale& locale);

// A "KEY=VALUE" line of a profile section as the file keeps it, given the
// text EscapeForCodePage made of it (or a text whose "&#" is kept apart so):
// a NUL, CR or LF, and a first character that is no ASCII letter, digit or
// '&' (which the file would read as a section, a comment or a blank to
// drop), become "&#N;". UnescapeReferences with `controls` gives the line
// back exactly, but for a line that starts with '=': the file keeps no key
// of no name, so a blank (" ") goes before it and comes back with it.
std::string EscapeSectionLine(const std::string& escaped);

// The reverse: every "&#N;" whose N is a character's number becomes that
// character; anything else stays. CR, LF and NUL only with `controls` (a
// log record, which stores them as blanks): a stored value decoded into a
// line break would be written back as lines of its own.
std::string UnescapeReferences(const std::string& utf8, bool controls = false);

}  // namespace quillet
