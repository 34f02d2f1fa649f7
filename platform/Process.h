// Starting the follow-up programs.
#pragma once

#include <string>

namespace platform {

// Starts `commandLine` as Windows does with CreateProcessA and no application name: visible,
// with its own error mode, the setup's environment and current folder. With `wait`, blocks until
// the program has ended. Returns whether the process was created.
// POSIX: the line is split by the Windows rules and the program is looked for in the setup's
// folder first, then along PATH; it runs in the same terminal.
bool StartProcess(const std::string& commandLine, bool wait);

// How a program started by RunProcess ended.
struct ProcessEnd {
    bool started = false;
    bool exitCodeKnown = false; // awaited, and its end was seen
    unsigned long exitCode = 0; // POSIX: the exit status, or 128 + the signal that ended it
};

// StartProcess, and with `wait` the program's exit code as well.
ProcessEnd RunProcess(const std::string& commandLine, bool wait);

} // namespace platform
