#include "setup/config/FileText.h"

#include "platform/FileContent.h"
#include "setup/config/FolderPath.h"

std::string GetFileExtension(const std::string& path) {
    size_t point = path.rfind('.');
    if (point == std::string::npos)
        return std::string();
    for (size_t i = point + 1; i < path.size(); ++i)
        if (IsPathSeparator(path[i]))
            return std::string();
    return path.substr(point);
}

namespace {

// A version text is the third line of a small file; nothing beyond this reaches it, so a huge
// or endless file costs no more than this.
constexpr size_t kVersionTextReach = 64 * 1024;

} // namespace

std::string ReadFileText(const std::string& path) {
    std::string content;
    if (!platform::ReadFileStart(path, kVersionTextReach, content))
        return std::string();
    return content;
}

namespace {

void DropThrough(std::string& text, char c) {
    size_t pos = text.find(c);
    if (pos != std::string::npos)
        text.erase(0, pos + 1);
}

} // namespace

std::string VersionTextOf(const std::string& content) {
    std::string text = content;
    for (int pass = 0; pass < 2; ++pass) {
        DropThrough(text, '\r');
        DropThrough(text, '\n');
    }
    return text;
}
