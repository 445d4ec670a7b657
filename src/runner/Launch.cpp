#include "runner/Launch.h"

#include "common/Text.h"

namespace quillet {

namespace {

bool IsBatchFile(const std::string& program)
{
    if (program.size() < 4) return false;
    std::string extension = program.substr(program.size() - 4);
    for (char& c : extension) c = AsciiLower(c);
    return extension == ".bat" || extension == ".cmd";
}

}  // namespace

ProcessLaunch PlanLaunch(const std::string& program, const std::string& folder, const std::string& commandLine,
                         const std::string& systemDirectory)
{
    if (program.empty() || commandLine.empty()) return {};
    if (!IsBatchFile(program)) return {program, commandLine, folder};

    // The interpreter would expand %NAME% even inside quotes, and a quote
    // would end the name early: such a file is not started at all.
    if (program.find_first_of("%\"") != std::string::npos || systemDirectory.empty()) return {};
    std::string interpreter = systemDirectory;
    if (interpreter.size() != 3) interpreter += '\\';  // only a drive's root ends in a backslash
    interpreter += "cmd.exe";
    // /d: no AutoRun commands from the registry; /v:off: '!' is literal;
    // /s /c "...": the outer quotes go, the quoted name stays one word. The
    // whole command named the file, so there are no arguments to pass.
    return {interpreter, "\"" + interpreter + "\" /d /v:off /s /c \"\"" + program + "\"\"", folder};
}

}  // namespace quillet
