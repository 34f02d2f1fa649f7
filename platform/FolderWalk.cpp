#include "platform/FolderWalk.h"

namespace platform {

namespace {

// As many links as the walk follows in one path; a loop of junctions ends there.
constexpr int kMaxLinks = 40;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The root of a full path with its final backslash ("C:\", "\\server\share\"), and the length of
// its text; 0 for a path without one.
size_t RootLength(const std::string& path, std::string& root) {
    if (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2])) {
        root = path.substr(0, 2) + "\\";
        return 3;
    }
    if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t server = path.find_first_of("\\/", 2);
        if (server == std::string::npos || server == 2)
            return 0;
        size_t share = path.find_first_of("\\/", server + 1);
        if (share == std::string::npos)
            share = path.size();
        if (share == server + 1)
            return 0;
        root = "\\\\" + path.substr(2, server - 2) + "\\" +
               path.substr(server + 1, share - server - 1) + "\\";
        return share;
    }
    return 0;
}

std::string Child(const std::string& folder, const std::string& name) {
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// The levels below the root, "." and ".." taken by the text, as Windows takes them before it
// looks at any folder.
std::vector<std::string> Levels(const std::string& path, size_t at) {
    std::vector<std::string> levels;
    while (at < path.size()) {
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        std::string name = path.substr(at, end - at);
        at = end + 1;
        if (name == "..") {
            if (!levels.empty())
                levels.pop_back();
        } else if (!name.empty() && name != ".") {
            levels.push_back(name);
        }
    }
    return levels;
}

WalkResult Walk(const std::string& path, MissingLevels missing, LevelSystem& system,
                std::string& walked, std::vector<std::string>* created, int& links) {
    std::string root;
    size_t at = RootLength(path, root);
    if (at == 0)
        return WalkResult::BadPath;
    std::string current = root;
    for (const std::string& name : Levels(path, at)) {
        const std::string next = Child(current, name);
        FolderLevel level = system.Open(next);
        if (level.kind == FolderLevel::Kind::Missing && missing == MissingLevels::Create) {
            // Someone else may make it first; what is there then is judged like any level.
            bool made = system.Create(next);
            if (made && created)
                created->push_back(next);
            level = system.Open(next);
        }
        switch (level.kind) {
        case FolderLevel::Kind::Missing:
            return WalkResult::Missing;
        case FolderLevel::Kind::Other:
            return WalkResult::NotAFolder;
        case FolderLevel::Kind::Folder:
            current = next;
            break;
        case FolderLevel::Kind::Link: {
            if (!level.administratorOwned)
                return WalkResult::UntrustedLink;
            if (++links > kMaxLinks)
                return WalkResult::TooManyLinks;
            std::string resolved;
            if (!system.Resolve(next, resolved))
                return WalkResult::Missing;
            // Where the link leads is walked like any path: a link further on counts alike.
            WalkResult result =
                Walk(resolved, MissingLevels::Refuse, system, current, nullptr, links);
            if (result != WalkResult::Reached)
                return result;
            break;
        }
        }
    }
    walked = current;
    return WalkResult::Reached;
}

} // namespace

WalkResult WalkFolderLevels(const std::string& path, MissingLevels missing, LevelSystem& system,
                            std::string& walked, std::vector<std::string>* created) {
    int links = 0;
    return Walk(path, missing, system, walked, created, links);
}

} // namespace platform
