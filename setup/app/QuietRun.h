// The quiet run: the setup's whole sequence with no window at all, for deployments where nobody
// sees the screen. Questions get the answer of the command line; the log and the exit code tell
// what happened.
#pragma once

#include "setup/app/ExitCode.h"
#include "setup/app/RunLog.h"

RunResult RunQuietly(RunLog& log, bool answerYes);
