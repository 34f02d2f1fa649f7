#pragma once

#include <string>

// Starts a follow-up program from its complete command line; with `wait` 1, waits for its end.
// Non-zero when the process was created; its exit code is not looked at.
int StartProgram(const std::string& commandLine, int wait);
