// What the check says about a package: findings in the form compilers use, and the exit status.
#pragma once

#include <string>
#include <vector>

enum class Severity { Warning, Error };

struct Finding {
    Severity severity = Severity::Warning;
    std::string file; // "SETUP.INF", or a payload file's name in the package
    int line = 0;     // 0: the file as a whole
    std::string section;
    std::string key;
    std::string message;
};

using Findings = std::vector<Finding>;

// 0 clean, 1 warnings only, 2 errors.
int ExitStatusOf(const Findings& findings);
