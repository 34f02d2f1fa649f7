// What the setup's exit code tells the program that started it. A software-distribution system
// reads it instead of the screen: every kind of run ends with the same codes.
#pragma once

#include "setup/app/CommandLine.h"

#include <string>

enum class RunEnd {
    Succeeded,        // message 62009
    Failed,           // the error state, with its message number
    Cancelled,        // "Abbrechen" before the installation began
    WrongCommandLine, // nothing was done
    LogFailed,        // the log named on the command line cannot be written; nothing was done
};

struct RunResult {
    RunEnd end = RunEnd::Cancelled;
    unsigned message = 0;    // the message that ended the run, where one did
    std::string messageText; // its text as shown
};

// Windows: 0; the error state's message number, except 1618 for "another setup is running";
// the installer codes 1602 (cancelled), 1622 (log) and 87 (wrong command line); 1603 for an error
// state without a known number. POSIX: 0 success, 1 error or cancel, 2 wrong command line.
int ExitCodeOf(const RunResult& result, Conventions conventions);

// The line a POSIX run prints on standard error when it did not succeed ("setup: 62002: ..."), as
// 8-bit text on one line; empty when there is nothing to say (success, or a person's cancel).
std::string ErrorLine(const RunResult& result);

// A message text on one line: its line breaks become single blanks.
std::string OnOneLine(const std::string& text);
