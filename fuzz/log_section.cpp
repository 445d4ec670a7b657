// The settings file's [Log] section, both ways.
//
// Records written and read back: equal, with the changes the format itself
// makes (the profile functions trim values):
// - CR, LF and NUL in any text are stored as blanks;
// - a message holding the mark (thorn) is split at it; the rest, the mark
//   and the comment become the comment;
// - blanks at the end of the comment are trimmed away.
// Records the format cannot hold at all are not written here: a time
// holding '=' (the key ends at the first one), or blanks at either end
// (keys are trimmed). A time that begins with '[' or ';', or is empty, is
// held: its line is escaped so that it opens no section and is no comment.
//
// A hand-edited section, references included: LoadLog gives one record per
// line the platform reads (not blank, no comment, a key of some name) in
// file order, and a close writes them so that the next start reads the same
// records, and no other section.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Check.h"
#include "app/MainFrm.h"
#include "app/Settings.h"
#include "common/Text.h"
#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

std::string Blanked(std::string s)
{
    for (char& c : s)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    return s;
}

// Tested on the record as stored: line breaks and NULs already blanks.
bool Holdable(const LogRecord& r)
{
    if (r.time.find('=') != std::string::npos) return false;
    if (!r.time.empty() && (r.time.front() == ' ' || r.time.back() == ' ')) return false;
    return true;
}

LogRecord AsReadBack(LogRecord r)
{
    r.time = Blanked(r.time);
    r.message = Blanked(r.message);
    r.comment = Blanked(r.comment);
    const size_t mark = r.message.find(kCommentMark);
    if (mark != std::string::npos) {
        r.comment = r.message.substr(mark + kCommentMarkSize) + kCommentMark + r.comment;
        r.message.resize(mark);
    }
    while (!r.comment.empty() && r.comment.back() == ' ') r.comment.pop_back();
    return r;
}

std::string TrimBlanks(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

void WrittenRecordsReadBack(FuzzedDataProvider& input)
{
    FakeProfile profile;
    profile.lines = {"[Main]", "LogHeight=5", "[Log]", "old=0;gone\xC3\xBE", "[View]", "ViewType=1"};
    SettingsFile file(profile, "c:\\q\\quillet.ini");

    std::vector<LogRecord> written, expected;
    const size_t count = input.ConsumeIntegralInRange<size_t>(0, 6);
    for (size_t i = 0; i < count; ++i) {
        LogRecord r;
        r.time = input.ConsumeRandomLengthString(24);
        r.message = input.ConsumeRandomLengthString(48);
        r.comment = input.ConsumeRandomLengthString(32);
        r.image = input.ConsumeBool() ? kLogError : kLogInformation;
        LogRecord stored = r;
        stored.time = Blanked(r.time);
        if (!Holdable(stored)) continue;
        written.push_back(r);
        expected.push_back(AsReadBack(r));
        // The line alone, as LoadLog meets it.
        FUZZ_CHECK(ParseLogLine(LogLine(r)) == expected.back());
    }
    WriteLogSection(file, written);
    FUZZ_CHECK(ReadLogSection(file) == expected);
    // The old log is gone, the other sections stay as they were.
    FUZZ_CHECK(file.ReadString("Main", "LogHeight", "") == "5");
    FUZZ_CHECK(file.ReadString("View", "ViewType", "") == "1");
    size_t headers = 0;
    for (const std::string& line : profile.lines) headers += line == "[Log]";
    FUZZ_CHECK(headers == (written.empty() ? 0u : 1u));
}

void HandEditedSectionSurvivesAClose(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text + '\n') {
        if (c != '\n' && c != '\r') {  // either ends a line in the file
            line += c;
            continue;
        }
        // A line that begins with '[' (once trimmed) opens the next section.
        if (TrimBlanks(line).substr(0, 1) != "[") lines.push_back(line);
        line.clear();
    }
    // What the platform reads of them: not blank lines, comments or keys of no name.
    std::vector<std::string> read;
    for (const std::string& l : lines) {
        const std::string trimmed = TrimBlanks(l);
        if (!trimmed.empty() && trimmed[0] != ';' && trimmed[0] != '=') read.push_back(UnescapeReferences(l, true));
    }

    CoreFakes fakes;
    fakes.profile.lines = {"[Log]"};
    fakes.profile.lines.insert(fakes.profile.lines.end(), lines.begin(), lines.end());
    fakes.view.StartChecks();
    std::vector<LogRecord> first;
    {
        TMain main(fakes.view, fakes.ports);
        main.FormCreate("C:\\Tools\\QUILLET.EXE");
        first = main.Log().Records();
        FUZZ_CHECK(first.size() == read.size());
        FUZZ_CHECK(fakes.view.logRows == read.size());
        for (size_t i = 0; i < first.size(); ++i) {
            const LogRecord& r = first[i];
            const std::string decoded = Blanked(read[i]);
            FUZZ_CHECK(r.time == TrimBlanks(decoded.substr(0, decoded.find('='))));
            FUZZ_CHECK(r.message.find(kCommentMark) == std::string::npos);
            FUZZ_CHECK(r.image >= 0 && r.image <= 9);
        }
        main.Settings().FormClose();
    }
    fakes.view = FakeMainView();
    fakes.view.StartChecks();
    TMain again(fakes.view, fakes.ports);
    again.FormCreate("C:\\Tools\\QUILLET.EXE");
    FUZZ_CHECK(again.Log().Records() == first);
    size_t headers = 0;
    for (const std::string& l : fakes.profile.lines) headers += TrimBlanks(l).substr(0, 1) == "[";
    FUZZ_CHECK(headers <= 3);  // [Log], [Main] and [View] at most
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) WrittenRecordsReadBack(input);
    else HandEditedSectionSurvivesAClose(input.ConsumeRemainingBytesAsString());
    return 0;
}
