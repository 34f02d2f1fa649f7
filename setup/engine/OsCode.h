// Which Windows the setup runs on, as far as the options tags of SETUP.INF distinguish.
#pragma once

#include "platform/SystemInfo.h"

// 0: unknown (no filter applies); 1: NT below 5 ("WINNT"); 2: 95 ("WIN95"); 3: 98 ("WIN98");
// 4: ME ("WINME"); 5: NT 5 and later ("WIN2K").
int ClassifyOs(const platform::OsVersion& version);
int GetOsCode();

// The options tag of a code from 1 to 5; nullptr for 0.
const char* OsTag(int code);
