// The package as the setup will read it: SETUP.INF against the setup's own rules, and the payload
// files against the entries that name them.
#pragma once

#include "check/Findings.h"

#include <string>

// `folder` holds SETUP.INF and the payload; it ends in a separator.
Findings CheckPackage(const std::string& folder);
