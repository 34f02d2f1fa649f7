// Comparing version texts component by component, each component valued by its leading number.
#pragma once

#include <string>

// The value of one version component: leading white space skipped, an optional sign, then the
// decimal digits up to the first non-digit; no digits give 0. So "8", "08" and "8a" are equal.
long long VersionComponentValue(const std::string& component);

enum class VersionCheck { Met, InstalledNewer, InstalledOlder };

// The installed version against the required one: only as many components as the shorter of the
// two has are compared, and the first that differs decides. Components are separated by "." only,
// so a FileVersion written with commas is one component here.
VersionCheck CompareWithRequired(const std::string& installed, const std::string& required);

// Whether the FileVersion `a` is higher than the FileVersion `b`, as the replace question asks:
// components are separated by "." and by ",", blanks around them ignored ("8, 0, 3, 0" is
// 8.0.3.0); every component is compared, a missing one counting as 0, so 1.2 and 1.2.0.0 are
// equal and 5.0.10.0 is higher than 5.0.9.0.
bool VersionIsNewer(const std::string& a, const std::string& b);
