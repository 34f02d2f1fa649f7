// The known name an unknown one was most likely meant to be, for "did you mean ...?".
#pragma once

#include <string>
#include <vector>

// The candidate nearest to `name` (compared without regard to case), or "" when none is close
// enough to be a likely slip: at most a third of the name's letters differ.
std::string NearestName(const std::string& name, const std::vector<std::string>& candidates);
