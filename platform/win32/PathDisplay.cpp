#include "platform/PathDisplay.h"

namespace platform {

std::string DisplayPath(const std::string& path) {
    return path;
}

// Always three, as the setup has always shortened: also a path of another shape (a network
// path) keeps its first three characters.
size_t DisplayRootLength(const std::string&) {
    return 3;
}

} // namespace platform
