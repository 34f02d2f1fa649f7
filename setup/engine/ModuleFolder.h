#pragma once

#include <string>

// The folder of the running setup program, ending in a separator.
std::string GetModuleFolder();
