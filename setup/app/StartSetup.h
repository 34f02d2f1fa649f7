// The setup's start: the command line chooses the front (the dialog, a passive or a quiet run),
// and how the run ended becomes the exit code.
#pragma once

#include "framework/WinApp.h"

// Runs the setup as `app` was started and returns its exit code. The dialog, where one is shown,
// is the application's main window while it is up.
int RunSetup(CWinApp& app);
