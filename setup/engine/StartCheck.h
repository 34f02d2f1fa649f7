#pragma once

#include "setup/engine/InstallActions.h"
#include "setup/engine/SetupView.h"

// Before the start-up checks: no other setup runs and nothing a killed run left half done
// remains; false after entering the error state (62014 while another setup runs, 62016 when no
// record of an installation can be kept safely).
bool PrepareStart(SetupView& view, InstallActions& actions);
