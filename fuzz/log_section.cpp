// The settings file's [Log] section, both ways.
//
// Records written and read back: equal, with the changes the format itself
// makes (no escaping, and the profile functions trim values):
// - CR and LF in any text are stored as blanks;
// - a message holding the mark (thorn) is split at it; the rest, the mark
//   and the comment become the comment;
// - blanks at the end of the comment are trimmed away.
// Records the format cannot hold at all are not written here:
// - a time holding '=' (the key ends at the first one), or blanks at either
//   end (keys are trimmed), or beginning with '[' (the line would open a
//   section);
// - any text holding NUL (the platform reads the file up to a NUL).
//
// A hand-edited section: LoadLog gives one record per line in file order,
// and a close writes them so that the next start reads the same records.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Check.h"
#include "app/MainFrm.h"
#include "app/Settings.h"
#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

bool HasNul(const std::string& s) { return s.find('\0') != std::string::npos; }

std::string Blanked(std::string s)
{
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

// Tested on the record as stored: line breaks already blanks.
bool Holdable(const LogRecord& r)
{
    if (HasNul(r.time) || HasNul(r.message) || HasNul(r.comment)) return false;
    if (r.time.find('=') != std::string::npos) return false;
    if (!r.time.empty() && (r.time.front() == ' ' || r.time.back() == ' ' || r.time.front() == '[')) return false;
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
        // A line that begins with '[' opens the next section; and a key that
        // would begin with it once trimmed could not be written back.
        if (TrimBlanks(line).substr(0, 1) != "[") lines.push_back(line);
        line.clear();
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
        FUZZ_CHECK(first.size() == lines.size());
        FUZZ_CHECK(fakes.view.logRows == lines.size());
        for (size_t i = 0; i < first.size(); ++i) {
            const LogRecord& r = first[i];
            FUZZ_CHECK(r.time == TrimBlanks(lines[i].substr(0, lines[i].find('='))));
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) WrittenRecordsReadBack(input);
    else HandEditedSectionSurvivesAClose(input.ConsumeRemainingBytesAsString());
    return 0;
}
