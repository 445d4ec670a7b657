#include <gtest/gtest.h>

#include "app/MainFrm.h"
#include "common/Error.h"
#include "common/Text.h"
#include "common/Unicode.h"
#include "fakes/FakeFileSystem.h"

using namespace quillet;
using quillet::fakes::FakeLocale;

namespace {

TEST(SettingsFileName, ExtensionReplacedOrAppendedAndAsciiLowered)
{
    FakeLocale locale;
    EXPECT_EQ(SettingsFileName("C:\\Tools\\APP.EXE", locale), "c:\\tools\\app.ini");
    EXPECT_EQ(SettingsFileName("C:\\Tools\\Quillet", locale), "c:\\tools\\quillet.ini");
    EXPECT_EQ(SettingsFileName("C:\\My.Tools\\Quillet", locale), "c:\\my.tools\\quillet.ini");
    EXPECT_EQ(SettingsFileName("C:\\T\\a.b.EXE", locale), "c:\\t\\a.b.ini");
    // Letters outside A to Z keep their case: 0xC4 is an upper-case A umlaut in Latin-1.
    EXPECT_EQ(SettingsFileName("C:\\\xC4PFEL\\Q.exe", locale), "c:\\\xC4pfel\\q.ini");
}

TEST(SettingsFileName, DoubleByteCharactersKeptWhole)
{
    FakeLocale locale;
    locale.doubleByte = true;
    // 0x83 0x41 is one character whose second byte looks like 'A'; 0x95 0x5C ends in '\'.
    EXPECT_EQ(SettingsFileName("C:\\\x83\x41\\Q.EXE", locale), "c:\\\x83\x41\\q.ini");
    EXPECT_EQ(SettingsFileName("C:\\X.Y\\\x95\x5CQ", locale), "c:\\x.y\\\x95\x5Cq.ini");
}

TEST(ErrorBoxText, FullStopAppendedOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(ErrorBoxText("Unable to write to c:\\q.ini"), "Unable to write to c:\\q.ini.");
    EXPECT_EQ(ErrorBoxText("Invalid data type for 'X'"), "Invalid data type for 'X'");  // '\'' is below '.'
    EXPECT_EQ(ErrorBoxText("List index out of bounds (3)"), "List index out of bounds (3)");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Wait!"), "Wait!");      // '!' is below '.'
    EXPECT_EQ(ErrorBoxText("(5)"), "(5)");          // ')' is below '.'
    EXPECT_EQ(ErrorBoxText("dir/"), "dir/.");       // '/' is above '.'
    EXPECT_EQ(ErrorBoxText("caf\xE9"), "caf\xE9."); // compared as an unsigned byte
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(FormatText, ReplacesThePlaceholder)
{
    EXPECT_EQ(FormatText("Invalid data type for '%s'", "DisplayName"), "Invalid data type for 'DisplayName'");
    EXPECT_EQ(FormatText("no placeholder", "x"), "no placeholder");
}

}  // namespace

namespace {

TEST(ExtractFilePath, KeepsTheTrailingSeparatorAndSkipsTrailBytes)
{
    fakes::FakeLocale locale;
    EXPECT_EQ(ExtractFilePath("D:\\Saves\\mine.reg", locale), "D:\\Saves\\");
    EXPECT_EQ(ExtractFilePath("D:mine.reg", locale), "D:");
    EXPECT_EQ(ExtractFilePath("mine.reg", locale), "");
    EXPECT_EQ(ExtractFilePath("\\\\server\\share\\", locale), "\\\\server\\share\\");
    locale.doubleByte = true;
    // 0x95 0x5C is one character whose second byte is a backslash.
    EXPECT_EQ(ExtractFilePath("C:\\\x95\x5C.reg", locale), "C:\\");
}

}  // namespace

namespace {

// The settings file holds ANSI only; the fake's code page is Latin-1.
TEST(AnsiReferences, WhatTheCodePageLacksIsSpeltAsNumbersAndReadBackExactly)
{
    FakeLocale locale;
    const struct {
        std::string text, stored;
    } cases[] = {
        {"", ""},
        {"Plain ASCII 1;2", "Plain ASCII 1;2"},
        {"Caf\xC3\xA9", "Caf\xE9"},                                  // fits: one byte, as before
        {"\xE6\x97\xA5\xE6\x9C\xAC", "&#26085;&#26412;"},              // Japanese
        {"a\xF0\x9F\x98\x80z", "a&#128512;z"},                         // beyond U+FFFF
        {"R&D &#65; & #", "R&D &#38;#65; & #"},                        // a literal "&#" is kept apart
        {"&#", "&#38;#"},
        {"\xC3\xA9\xE2\x82\xAC&#9;", "\xE9&#8364;&#38;#9;"},
    };
    for (const auto& c : cases) {
        std::string ansi;
        EXPECT_TRUE(locale.ToAnsi(EscapeForCodePage(c.text, locale), ansi)) << c.text;
        EXPECT_EQ(ansi, c.stored) << c.text;
        EXPECT_EQ(UnescapeReferences(locale.FromAnsi(c.stored)), c.text) << c.stored;
    }
}

TEST(AnsiReferences, OnlyReferencesToCharactersAreDecoded)
{
    FakeLocale locale;
    const std::pair<std::string, std::string> cases[] = {
        {"&#65;", "A"},          {"&#0;", "&#0;"},         {"&#;", "&#;"},
        {"&#65", "&#65"},        {"&#x41;", "&#x41;"},     {"&#55296;", "&#55296;"},  // a lone surrogate
        {"&#1114111;", "\xF4\x8F\xBF\xBF"},                {"&#1114112;", "&#1114112;"},
        {"&#00000065;", "&#00000065;"},                    {"&#99999999999999999999;", "&#99999999999999999999;"},
        {"\xE9&#233;", "\xC3\xA9\xC3\xA9"},                {"&&#38;#", "&&#"},
    };
    for (const auto& [stored, text] : cases) EXPECT_EQ(UnescapeReferences(locale.FromAnsi(stored)), text) << stored;
}

// A stored BackupDir must not become a line break, written back at the next
// close as an INI line or section of its own; a log record may hold them.
TEST(AnsiReferences, LineBreaksAndNulOnlyInLogRecords)
{
    const struct {
        std::string stored, value, logRecord;
    } cases[] = {
        {"C:\\B&#13;&#10;[Main]", "C:\\B&#13;&#10;[Main]", "C:\\B\r\n[Main]"},
        {"a&#10;b", "a&#10;b", "a\nb"},
        {"a&#0;b", "a&#0;b", std::string("a\0b", 3)},
        {"a&#9;b", "a\tb", "a\tb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnescapeReferences(c.stored), c.value) << c.stored;
        EXPECT_EQ(UnescapeReferences(c.stored, true), c.logRecord) << c.stored;
    }
}

// A line of a section can neither start a section, a comment or a key of no
// name, nor end early; decoded as a log record it is the line again.
TEST(AnsiReferences, ASectionLineStaysOneLineOfItsSection)
{
    const std::pair<std::string, std::string> cases[] = {
        {"t=0;x", "t=0;x"},
        {"[Main]=0;x", "&#91;Main]=0;x"},
        {";c=0", "&#59;c=0"},
        {"=0;x", "&#32;=0;x"},  // a key of no name is dropped: a blank before it
        {" \t[V]=x", "&#32;\t[V]=x"},
        {std::string("a\0[Main]\0k=v", 12), "a&#0;[Main]&#0;k=v"},
        {"a\r\n[b]", "a&#13;&#10;[b]"},
        {"\xC3\xA9=1", "&#233;=1"},
        {"&#38;#91;=1", "&#38;#91;=1"},  // a literal "&#", as EscapeForCodePage keeps it
    };
    for (const auto& [line, stored] : cases) {
        EXPECT_EQ(EscapeSectionLine(line), stored) << line;
        EXPECT_EQ(UnescapeReferences(stored, true), (line[0] == '=' ? " " : "") + UnescapeReferences(line, true))
            << line;
    }
}

TEST(Utf16Le, RoundTripsEveryPlaneAndFlagsWhatIsNoUtf16)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {std::string("A\0", 2), std::string("A\0\0\0", 4)},
        {"\xC3\xA9", std::string("\xE9\0", 2)},
        {"\xE6\x97\xA5", "\xE5\x65"},
        {"\xF0\x9F\x98\x80", std::string("\x3D\xD8\x00\xDE", 4)},
    };
    for (const auto& [utf8, utf16] : cases) {
        EXPECT_EQ(Utf16LeFromUtf8(utf8), utf16) << utf8;
        std::string back;
        EXPECT_TRUE(Utf8FromUtf16Le(utf16, back));
        EXPECT_EQ(back, utf8);
    }
    std::string back;
    EXPECT_FALSE(Utf8FromUtf16Le(std::string("A\0B", 3), back));                     // odd length
    EXPECT_EQ(back, "A\xEF\xBF\xBD");
    EXPECT_FALSE(Utf8FromUtf16Le(std::string("\x3D\xD8" "A\0", 4), back));          // high surrogate alone
    EXPECT_FALSE(Utf8FromUtf16Le(std::string("\x00\xDE", 2), back));                // low surrogate alone
    // Bytes that are no UTF-8 are read as Latin-1 rather than dropped.
    EXPECT_EQ(Utf16LeFromUtf8("\xE9\xC0\x80"), std::string("\xE9\0\xC0\0\x80\0", 6));
}

// A registry name may end in half a pair (cut at 255 characters, say): it
// comes back unit for unit, never as U+FFFD, which names another key.
TEST(Utf16Le, UnpairedSurrogatesComeBackExactly)
{
    const std::pair<std::string, std::string> cases[] = {
        {std::string("C\0\x00\xD8", 4), "C\xED\xA0\x80"},              // high alone, last
        {std::string("\x00\xDC" "A\0", 4), "\xED\xB0\x80" "A"},        // low alone, first
        {std::string("\xFF\xDB\xFF\xDB", 4), "\xED\xAF\xBF\xED\xAF\xBF"},  // two highs
        {std::string("\x00\xDC\x00\xD8", 4), "\xED\xB0\x80\xED\xA0\x80"},  // low then high: no pair
    };
    for (const auto& [utf16, wtf8] : cases) {
        std::string text;
        EXPECT_FALSE(Utf8FromUtf16Le(utf16, text));
        EXPECT_EQ(text, wtf8);
        EXPECT_EQ(Utf16LeFromUtf8(text), utf16);
    }
}

}  // namespace
