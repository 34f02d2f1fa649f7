#pragma once

#include "setup/engine/InstallActions.h"

#include <string>

// Starts a follow-up program from its complete command line; with `wait` 1, waits for its end
// and reads its exit code.
ProgramResult StartProgram(const std::string& commandLine, int wait);
