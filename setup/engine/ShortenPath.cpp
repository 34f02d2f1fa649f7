#include "setup/engine/ShortenPath.h"

#include "setup/config/FolderPath.h"

namespace {

size_t SeparatorAtOrAfter(const std::string& path, size_t from) {
    for (size_t i = from; i < path.size(); ++i)
        if (IsPathSeparator(path[i]))
            return i;
    return std::string::npos;
}

} // namespace

std::string ShortenPathToWidth(const std::string& path, size_t rootLength, long width,
                               const std::function<long(const std::string&)>& measure) {
    std::string text = path;
    bool first = true;
    while (measure(text) > width && text.size() >= 2) {
        // The first step puts "..." behind the root; every later one drops one folder behind
        // "C:\..." (or "/..."). Each step shortens the text, and without a folder left it ends.
        size_t keep = first ? rootLength : rootLength + 3;
        size_t rest = SeparatorAtOrAfter(text, first ? rootLength : rootLength + 4);
        if (rest == std::string::npos || text.size() < keep)
            break;
        text = text.substr(0, keep) + (first ? "..." : "") + text.substr(rest);
        first = false;
    }
    return text;
}
