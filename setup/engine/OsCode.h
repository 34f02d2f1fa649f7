// Which Windows the setup runs on, as far as the options tags of SETUP.INF distinguish.
#pragma once

#include "platform/SystemInfo.h"

#include <string>

// 0: unknown (no filter applies); 1: NT below 5 ("WINNT"); 2: 95 ("WIN95"); 3: 98 ("WIN98");
// 4: ME ("WINME"); 5: NT 5 and later ("WIN2K").
int ClassifyOs(const platform::OsVersion& version);
int GetOsCode();

// The options tag of a code from 1 to 5; nullptr for 0.
const char* OsTag(int code);

// Whether an entry with these options is copied on Windows `osCode`: an options text that makes
// it a system filter must name that Windows; on an unknown one (0) no filter applies.
bool PassesSystemFilter(const std::string& options, int osCode);
