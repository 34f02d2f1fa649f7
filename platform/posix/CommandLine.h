// Command lines as Windows programs receive them, split into arguments.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Splits a command line by the Windows rules. The program name ends at the first blank outside
// quotes and keeps backslashes as they are; in the arguments, 2n backslashes before a quote give
// n backslashes and the quote opens or closes a quoted part, 2n+1 give n and a literal quote,
// backslashes elsewhere are literal, and a quote doubled inside a quoted part gives a literal
// quote and closes the part. Blanks are spaces and tabs.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Where the program a command line names is run from ("" when it is not found): a name with a
// folder as given (relative to the current folder); a bare name in the running program's folder
// first, then along PATH. In each place the name is tried as given, then, as Windows command lines
// name programs with ".exe" that POSIX installs without it and the other way round, the name
// with ".exe" removed, or added when it has no extension at all.
std::string FindProgram(const std::string& name);

// The program a command line starts and the arguments it receives.
struct ProgramCall {
    std::string program;                // where it is run from; "" when no program was found
    std::vector<std::string> arguments; // the name as written first, then the arguments
};

// Finds the program as CreateProcessA does without an application name. A name in quotes is
// the program, found or not. An unquoted line is tried prefix by prefix, each ending at a blank
// (then the whole line): the shortest that names an existing program is taken, so
// "Nach lauf.exe /q" runs "Nach" if there is one, else "Nach lauf.exe" with the argument "/q".
// What follows the program is split into arguments by the Windows rules.
ProgramCall FindCommandProgram(const std::string& commandLine);

} // namespace platform
