#include "check/NearestName.h"

#include "platform/ProfileText.h"

#include <algorithm>

namespace {

// Edits (insert, delete, replace) from one name to the other, case folded as the reader does.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            bool same = platform::FoldProfileCase(a[i - 1]) == platform::FoldProfileCase(b[j - 1]);
            current[j] =
                std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

} // namespace

std::string NearestName(const std::string& name, const std::vector<std::string>& candidates) {
    std::string best;
    size_t bestDistance = std::max<size_t>(1, name.size() / 3) + 1;
    for (const std::string& candidate : candidates) {
        size_t distance = EditDistance(name, candidate);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}
