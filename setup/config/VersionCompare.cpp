#include "setup/config/VersionCompare.h"

#include <vector>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The values of the components between any of `separators`.
std::vector<long long> ComponentValues(const std::string& version, const char* separators) {
    std::vector<long long> values;
    size_t start = 0;
    for (;;) {
        size_t point = version.find_first_of(separators, start);
        values.push_back(VersionComponentValue(version.substr(start, point - start)));
        if (point == std::string::npos)
            return values;
        start = point + 1;
    }
}

} // namespace

long long VersionComponentValue(const std::string& component) {
    // Values beyond this are clamped rather than overflowing; no version comes near it.
    constexpr long long kLimit = 1000000000000000000LL;
    size_t i = 0;
    while (i < component.size() && IsBlank(component[i]))
        ++i;
    bool negative = false;
    if (i < component.size() && (component[i] == '+' || component[i] == '-'))
        negative = component[i++] == '-';
    long long value = 0;
    for (; i < component.size() && component[i] >= '0' && component[i] <= '9'; ++i)
        value = value >= kLimit ? kLimit : value * 10 + (component[i] - '0');
    return negative ? -value : value;
}

VersionCheck CompareWithRequired(const std::string& installed, const std::string& required) {
    std::vector<long long> have = ComponentValues(installed, ".");
    std::vector<long long> need = ComponentValues(required, ".");
    for (size_t i = 0; i < have.size() && i < need.size(); ++i) {
        if (have[i] > need[i])
            return VersionCheck::InstalledNewer;
        if (have[i] < need[i])
            return VersionCheck::InstalledOlder;
    }
    return VersionCheck::Met;
}

bool VersionIsNewer(const std::string& a, const std::string& b) {
    // Older products write their FileVersion as "8, 0, 3, 0": the commas separate components
    // just as points do, and the blanks after them are skipped as leading blanks of a number.
    std::vector<long long> left = ComponentValues(a, ".,");
    std::vector<long long> right = ComponentValues(b, ".,");
    for (size_t i = 0; i < left.size() || i < right.size(); ++i) {
        long long l = i < left.size() ? left[i] : 0;
        long long r = i < right.size() ? right[i] : 0;
        if (l != r)
            return l > r;
    }
    return false;
}
