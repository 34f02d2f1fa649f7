// Messages of the setup's string table as the fronts receive them.
#pragma once

#include "setup/engine/SetupView.h"

#include <string>
#include <vector>

// Message `id`: without arguments its whole text, with them its placeholders filled in.
SetupMessage MakeMessage(unsigned id, std::vector<std::string> args = {});
