#include <gtest/gtest.h>

#include "common/Unicode.h"
#include "editing/RegistryScript.h"
#include "fakes/FakeFileSystem.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

std::string W(const std::string& utf8) { return Utf16LeFromUtf8(utf8); }

RegistryScript Parse(const std::string& text)
{
    FakeLocale locale;
    RegistryScript script;
    std::string error;
    EXPECT_TRUE(ParseRegistryScript(text, locale, script, error)) << error;
    return script;
}

TEST(RegistryScript, EachValueFormGivesTheBytesTheEditorStores)
{
    const struct {
        const char* heading;
        std::string line;
        ScriptValue value;
    } cases[] = {
        {"REGEDIT4", "\"A \\\"q\\\" \\\\\"=\"x\\ry\\nz\"", {"A \"q\" \\", false, 1, W(std::string("x\ry\nz\0", 6))}},
        {"REGEDIT4", "@=\"d\"", {"", false, 1, W(std::string("d\0", 2))}},
        {"REGEDIT4", "\"Size\"=dword:12345678", {"Size", false, 4, "\x78\x56\x34\x12"}},
        {"REGEDIT4", "\"B\" = hex:00,ff,\\\r\n    10", {"B", false, 3, std::string("\0\xff\x10", 3)}},
        {"REGEDIT4", "\"N\"=hex(0):", {"N", false, 0, ""}},
        {"REGEDIT4", "\"Q\"=hex(b):01,02", {"Q", false, 11, "\x01\x02"}},
        // REGEDIT4 string bytes are ANSI and end with a NUL on import.
        {"REGEDIT4", "\"P\"=hex(2):25,e9", {"P", false, 2, W(std::string("%\xC3\xA9\0", 4))}},
        {"REGEDIT4", "\"Gone\"=-", {"Gone", true, 0, ""}},
        {"Windows Registry Editor Version 5.00", "\"P\"=hex(2):25,00,41", {"P", false, 2, std::string("%\0A", 3)}},
        {"Windows Registry Editor Version 5.00", "\"T\"=hex(12345678):", {"T", false, 0x12345678, ""}},
    };
    for (const auto& c : cases) {
        const RegistryScript script = Parse(std::string(c.heading) + "\r\n\r\n[HKEY_X\\k]\r\n" + c.line + "\r\n");
        ASSERT_EQ(script.keys.size(), 1u) << c.line;
        ASSERT_EQ(script.keys[0].values.size(), 1u) << c.line;
        const ScriptValue& v = script.keys[0].values[0];
        EXPECT_EQ(v.name, c.value.name) << c.line;
        EXPECT_EQ(v.remove, c.value.remove) << c.line;
        EXPECT_EQ(v.type, c.value.type) << c.line;
        EXPECT_EQ(v.data, c.value.data) << c.line;
        EXPECT_TRUE(script.rejected.empty()) << c.line;
    }
}

TEST(RegistryScript, SectionsCommentsAndTheLinesTheEditorSkips)
{
    const RegistryScript script = Parse(
        "REGEDIT4\n"
        "\"early\"=dword:1\n"            // 2: before any section
        "; one\r"
        "[-HKEY_X\\a]b]\r\n"             // the name ends at the last ']'
        "\"after\"=dword:1\n"            // 5: after a removal
        "  [HKEY_X\\a]b\\ c;d [e]  \n"
        "#two\n"
        "\"v\"=dword:123456789\n"        // 8: nine digits
        "\"w\"=\"open\n"                 // 9: no closing quote
        "junk\n"                         // 10
        "[ HKEY_X]\n"                    // 11: a blank first is no key
        "\"x\"=dword:2 ; trailing\n"    // 12: no section open
        "[HKEY_X\\b]\n"
        "\"y\"=dword:3\n");
    ASSERT_EQ(script.keys.size(), 3u);
    EXPECT_TRUE(script.keys[0].remove);
    EXPECT_EQ(script.keys[0].path, "HKEY_X\\a]b");
    EXPECT_EQ(script.keys[1].path, "HKEY_X\\a]b\\ c;d [e");
    EXPECT_EQ(script.keys[1].line, 6u);
    EXPECT_TRUE(script.keys[1].values.empty());
    ASSERT_EQ(script.keys[2].values.size(), 1u);
    EXPECT_EQ(script.keys[2].values[0].name, "y");
    ASSERT_EQ(script.comments.size(), 2u);
    EXPECT_EQ(script.comments[0].text, " one");
    EXPECT_EQ(script.comments[0].keysBefore, 0u);
    EXPECT_EQ(script.comments[1].text, "two");
    EXPECT_EQ(script.comments[1].keysBefore, 2u);
    EXPECT_EQ(script.rejected, (std::vector<size_t>{2, 5, 8, 9, 10, 11, 12}));
}

TEST(RegistryScript, FilesInBothFormatsAndOthersRefused)
{
    FakeLocale locale;
    RegistryScript script;
    std::string error;
    // UTF-16LE keeps an unpaired surrogate, in its 3-byte form.
    const std::string unicode = "\xFF\xFE" + W("Windows Registry Editor Version 5.00\r\n[HKEY_X\\k") +
                                std::string("\x00\xD8", 2) + W("]\r\n\"\xC3\xA9\"=dword:1\r\n");
    ASSERT_TRUE(ReadRegistryScript(unicode, locale, script, error)) << error;
    EXPECT_TRUE(script.unicode);
    ASSERT_EQ(script.keys.size(), 1u);
    EXPECT_EQ(script.keys[0].path, "HKEY_X\\k\xED\xA0\x80");
    EXPECT_EQ(W(script.keys[0].path).substr(16), std::string("\x00\xD8", 2));
    EXPECT_EQ(script.keys[0].values.at(0).name, "\xC3\xA9");

    ASSERT_TRUE(ReadRegistryScript("REGEDIT4\r\n[HKEY_X\\\xE9]\r\n", locale, script, error));
    EXPECT_FALSE(script.unicode);
    EXPECT_EQ(script.keys.at(0).path, "HKEY_X\\\xC3\xA9");

    for (const std::string& bad : {std::string(), std::string("REGEDIT5\r\n"), std::string("\xFF\xFE") + W("REGEDIT4")})
        EXPECT_FALSE(ReadRegistryScript(bad, locale, script, error)) << bad;
}

}  // namespace
