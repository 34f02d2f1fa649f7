// The check's output: lines in the form compilers use, or one JSON document for tools.
#pragma once

#include "check/DryRun.h"
#include "check/Findings.h"

#include <ostream>
#include <string>

// `folder` is the package folder as given; finding lines name files below it.
void WriteTextReport(std::ostream& out, const std::string& folder, const Findings& findings,
                     const DryRun* dryRun);
void WriteJsonReport(std::ostream& out, const std::string& folder, const Findings& findings,
                     const DryRun* dryRun);
