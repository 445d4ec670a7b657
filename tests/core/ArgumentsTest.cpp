#include <gtest/gtest.h>

#include <ostream>

#include "cli/Arguments.h"

namespace quillet {
namespace {

using Action = Invocation::Action;
using Format = Invocation::Format;

struct ArgumentsCase {
    std::vector<std::string> arguments;
    Action action;
    Format format;
    std::string file;
    bool yes;
    bool error;
};

// The arguments as typed, so that a failing case names itself.
void PrintTo(const ArgumentsCase& c, std::ostream* out)
{
    *out << "{";
    for (const std::string& a : c.arguments) *out << " \"" << a << "\"";
    *out << " }";
}

class ArgumentsTest : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(ArgumentsTest, GivesTheCommandOrItsError)
{
    const ArgumentsCase& c = GetParam();
    const Invocation run = ParseArguments(c.arguments);
    EXPECT_EQ(run.action, c.action);
    EXPECT_EQ(run.format, c.format);
    EXPECT_EQ(run.file, c.file);
    EXPECT_EQ(run.yes, c.yes);
    EXPECT_EQ(!run.error.empty(), c.error) << run.error;
}

INSTANTIATE_TEST_SUITE_P(
    Known, ArgumentsTest,
    ::testing::Values(
        ArgumentsCase{{"/list"}, Action::List, Format::Text, "", false, false},
        ArgumentsCase{{"-LIST", "/CSV", "out file.csv"}, Action::List, Format::Csv, "out file.csv", false, false},
        ArgumentsCase{{"/List", "-json", "C:\\a.json"}, Action::List, Format::Json, "C:\\a.json", false, false},
        ArgumentsCase{{"/backup", "b.reg"}, Action::Backup, Format::Text, "b.reg", false, false},
        ArgumentsCase{{"/delete-bad"}, Action::DeleteBad, Format::Text, "", false, false},
        ArgumentsCase{{"--delete-bad", "/YES"}, Action::DeleteBad, Format::Text, "", true, false},
        ArgumentsCase{{"/undo", "-old.reg"}, Action::Undo, Format::Text, "-old.reg", false, false},
        ArgumentsCase{{"/?"}, Action::Usage, Format::Text, "", false, false},
        ArgumentsCase{{"-?"}, Action::Usage, Format::Text, "", false, false}));

// Not a command of ours: the window starts as it always did.
INSTANTIATE_TEST_SUITE_P(
    Foreign, ArgumentsTest,
    ::testing::Values(ArgumentsCase{{}, Action::Window, Format::Text, "", false, false},
                      ArgumentsCase{{"/lis"}, Action::Window, Format::Text, "", false, false},
                      ArgumentsCase{{"list"}, Action::Window, Format::Text, "", false, false},
                      ArgumentsCase{{"/"}, Action::Window, Format::Text, "", false, false},
                      ArgumentsCase{{""}, Action::Window, Format::Text, "", false, false},
                      ArgumentsCase{{"C:\\some.reg", "/list"}, Action::Window, Format::Text, "", false, false}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, ArgumentsTest,
    ::testing::Values(ArgumentsCase{{"/list", "/csv"}, Action::List, Format::Text, "", false, true},
                      ArgumentsCase{{"/list", "/csv", ""}, Action::List, Format::Text, "", false, true},
                      ArgumentsCase{{"/list", "/csv", "a", "/json", "b"}, Action::List, Format::Csv, "a", false, true},
                      ArgumentsCase{{"/list", "/yes"}, Action::List, Format::Text, "", false, true},
                      ArgumentsCase{{"/list", "extra"}, Action::List, Format::Text, "", false, true},
                      ArgumentsCase{{"/backup"}, Action::Backup, Format::Text, "", false, true},
                      ArgumentsCase{{"/backup", "a.reg", "b.reg"}, Action::Backup, Format::Text, "a.reg", false, true},
                      ArgumentsCase{{"/delete-bad", "/yes", "/yes"}, Action::DeleteBad, Format::Text, "", true, true},
                      ArgumentsCase{{"/delete-bad", "/force"}, Action::DeleteBad, Format::Text, "", false, true},
                      ArgumentsCase{{"/undo"}, Action::Undo, Format::Text, "", false, true},
                      // A switch where the file belongs: the name was left out.
                      ArgumentsCase{{"/list", "/csv", "/json"}, Action::List, Format::Text, "", false, true},
                      ArgumentsCase{{"/undo", "/yes"}, Action::Undo, Format::Text, "", false, true},
                      ArgumentsCase{{"/backup", "-LIST"}, Action::Backup, Format::Text, "", false, true},
                      ArgumentsCase{{"/?", "/list"}, Action::Usage, Format::Text, "", false, true}));

}  // namespace
}  // namespace quillet
