// The Windows walk's rules over a made-up folder tree: which junctions and symbolic links it
// follows, where it ends, what it creates. Under Wine a Windows program sees no link that the
// Unix side makes, so this seam is where the rules meet their cases on both builds.
#include "platform/FolderWalk.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using platform::FolderLevel;
using platform::MissingLevels;
using platform::WalkResult;
using Kind = FolderLevel::Kind;

struct Entry {
    Kind kind = Kind::Folder;
    bool administratorOwned = false;
    std::string target; // of a link
};

// Names compare as written; the walk builds every level with "\".
class Tree : public platform::LevelSystem {
public:
    std::map<std::string, Entry> entries;
    std::vector<std::string> opened;

    FolderLevel Open(const std::string& path) override {
        opened.push_back(path);
        auto found = entries.find(path);
        FolderLevel level;
        if (found != entries.end()) {
            level.kind = found->second.kind;
            level.administratorOwned = found->second.administratorOwned;
        }
        return level;
    }
    bool Resolve(const std::string& path, std::string& resolved) override {
        resolved = entries.at(path).target;
        return true;
    }
    bool Create(const std::string& path) override {
        if (entries.count(path))
            return false;
        entries[path] = Entry{};
        return true;
    }
};

Tree HostTree() {
    Tree tree;
    tree.entries = {
        {"C:\\Daten", {}},
        {"C:\\Daten\\Client", {}},
        {"C:\\Daten\\Client\\program", {}},
        {"C:\\Daten\\Brief.dot", {Kind::Other, false, ""}},
        {"C:\\Windows", {}},
        {"D:\\Disk", {}},
        {"D:\\Disk\\Vorlagen", {}},
        // an administrator's junction to another disk
        {"C:\\Daten\\Vorlagen", {Kind::Link, true, "D:\\Disk\\Vorlagen"}},
        // a user's junction into the Windows folder
        {"C:\\Daten\\Fremd", {Kind::Link, false, "C:\\Windows"}},
        // an administrator's link that leads through a user's junction
        {"C:\\Daten\\Umweg", {Kind::Link, true, "C:\\Daten\\Fremd"}},
        {"C:\\Daten\\Kreis", {Kind::Link, true, "C:\\Daten\\Kreis"}},
        {"\\\\server\\share\\Daten", {}},
    };
    return tree;
}

TEST(FolderWalk, FollowsOnlyAdministratorsLinks) {
    const struct {
        std::string path;
        WalkResult result;
        std::string walked;
    } cases[] = {
        {"C:\\Daten\\Client\\program", WalkResult::Reached, "C:\\Daten\\Client\\program"},
        {"C:/Daten/Client/program/", WalkResult::Reached, "C:\\Daten\\Client\\program"},
        {"C:\\Daten\\.\\Client\\..\\Client\\program", WalkResult::Reached,
         "C:\\Daten\\Client\\program"},
        {"C:\\Daten\\Vorlagen", WalkResult::Reached, "D:\\Disk\\Vorlagen"},
        {"C:\\Daten\\Vorlagen\\..\\Client", WalkResult::Reached, "C:\\Daten\\Client"},
        {"C:\\Daten\\Fremd", WalkResult::UntrustedLink, ""},
        {"C:\\Daten\\Fremd\\system32", WalkResult::UntrustedLink, ""},
        {"C:\\Daten\\Umweg", WalkResult::UntrustedLink, ""},
        {"C:\\Daten\\Kreis", WalkResult::TooManyLinks, ""},
        {"C:\\Daten\\Brief.dot", WalkResult::NotAFolder, ""},
        {"C:\\Daten\\Neu", WalkResult::Missing, ""},
        {"\\\\server\\share\\Daten", WalkResult::Reached, "\\\\server\\share\\Daten"},
        {"C:\\", WalkResult::Reached, "C:\\"},
        {"Daten\\Client", WalkResult::BadPath, ""},
        {"\\\\server", WalkResult::BadPath, ""},
    };
    for (const auto& c : cases) {
        Tree tree = HostTree();
        std::string walked = "untouched";
        EXPECT_EQ(platform::WalkFolderLevels(c.path, MissingLevels::Refuse, tree, walked), c.result)
            << c.path;
        EXPECT_EQ(walked, c.result == WalkResult::Reached ? c.walked : "untouched") << c.path;
    }
}

// Every level is opened on the way, each through the one the walk stands on: a refused link ends
// the walk before anything below it is looked at.
TEST(FolderWalk, OpensEachLevelAndNothingBehindARefusedLink) {
    Tree tree = HostTree();
    std::string walked;
    platform::WalkFolderLevels("C:\\Daten\\Vorlagen\\Standard", MissingLevels::Refuse, tree,
                               walked);
    EXPECT_EQ(tree.opened,
              (std::vector<std::string>{"C:\\Daten", "C:\\Daten\\Vorlagen", "D:\\Disk",
                                        "D:\\Disk\\Vorlagen", "D:\\Disk\\Vorlagen\\Standard"}));
    tree.opened.clear();
    platform::WalkFolderLevels("C:\\Daten\\Fremd\\system32", MissingLevels::Create, tree, walked);
    EXPECT_EQ(tree.opened, (std::vector<std::string>{"C:\\Daten", "C:\\Daten\\Fremd"}));
    EXPECT_EQ(tree.entries.count("C:\\Windows\\system32"), 0u);
}

TEST(FolderWalk, CreatesMissingLevelsWhereTheyReallyLie) {
    Tree tree = HostTree();
    std::string walked;
    std::vector<std::string> created;
    ASSERT_EQ(platform::WalkFolderLevels("C:\\Daten\\Vorlagen\\Standard\\Briefe",
                                         MissingLevels::Create, tree, walked, &created),
              WalkResult::Reached);
    EXPECT_EQ(walked, "D:\\Disk\\Vorlagen\\Standard\\Briefe");
    EXPECT_EQ(created, (std::vector<std::string>{"D:\\Disk\\Vorlagen\\Standard",
                                                 "D:\\Disk\\Vorlagen\\Standard\\Briefe"}));
    // Made by someone else between the look and the creation: not ours, but walked through.
    created.clear();
    struct Racing : Tree {
        bool Create(const std::string& path) override {
            entries[path] = Entry{Kind::Link, false, "C:\\Windows"};
            return false;
        }
    } racing;
    racing.entries = HostTree().entries;
    EXPECT_EQ(platform::WalkFolderLevels("C:\\Daten\\Neu\\x", MissingLevels::Create, racing, walked,
                                         &created),
              WalkResult::UntrustedLink);
    EXPECT_TRUE(created.empty());
}

} // namespace
