// What the setup would do on a host: the setup's own run, in its order, with a view that answers
// every question Yes and records each step, and actions that change nothing on disk.
#pragma once

#include "setup/config/HostFolders.h"

#include <string>
#include <vector>

struct DryRunStep {
    std::string kind; // "folder", "copy", "skip", "question", "record", "program"
    std::string text; // the line as the report shows it
    std::string source, target, detail;
};

struct DryRun {
    bool ready = false;
    unsigned message = 0;    // the setup's message at the end of start-up, or of the run
    std::string messageText; // its text, as the setup shows it
    bool completed = false;  // the installation ran to its end
    std::vector<DryRunStep> steps;
};

// `folder` holds SETUP.INF and the payload and ends in a separator; `host` says where the host's
// TALMORIX.INI and Windows folders are; `osCode` as GetOsCode gives it.
DryRun DryRunPackage(const std::string& folder, const HostFolders& host, int osCode);
