#include <gtest/gtest.h>

#include "app/MainFrm.h"
#include "common/Error.h"
#include "common/Text.h"
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
