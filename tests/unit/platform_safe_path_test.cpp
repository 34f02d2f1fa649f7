// The walk to a folder the setup writes into: which links it follows, which it refuses, and that
// what the file services build on it (a new folder, a copy, the run record) writes nothing behind
// a link that someone other than an administrator placed. Links owned by another user need an
// administrator to make them (lchown); without one those cases are skipped.
#ifndef _WIN32
#include "platform/FileContent.h"
#include "platform/Files.h"
#include "platform/posix/SafePath.h"
#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::MissingLevels;
using platform::OpenFolderSafely;
using platform_test::ReadFile;
using platform_test::TempFolder;
using platform_test::WriteFile;

constexpr uid_t kOtherUser = 65534; // nobody

bool SameFolder(int fd, const fs::path& path) {
    struct stat a, b;
    return ::fstat(fd, &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

// The folder the walk ended on, or the errno it failed with.
struct Outcome {
    bool opened = false;
    int error = 0;
    bool reached = false; // the folder expected
};

Outcome Walk(const std::string& path, const fs::path& expected = {}) {
    errno = 0;
    int fd = OpenFolderSafely(path);
    Outcome outcome;
    outcome.opened = fd >= 0;
    outcome.error = fd >= 0 ? 0 : errno;
    outcome.reached = fd >= 0 && !expected.empty() && SameFolder(fd, expected);
    if (fd >= 0)
        ::close(fd);
    return outcome;
}

void GiveLinkTo(const fs::path& link, uid_t uid) {
    ASSERT_EQ(::lchown(link.c_str(), uid, uid), 0) << link;
}

TEST(SafePath, PlainFoldersAndTheirSpellings) {
    TempFolder folder;
    fs::create_directories(folder.path() / "a" / "b");
    WriteFile(folder.File("a/file"), "x");
    const fs::path b = folder.path() / "a" / "b";
    const struct {
        std::string path;
        int error; // 0: opens b
    } cases[] = {
        {b.string(), 0},
        {b.string() + "/", 0},
        {folder.path().string() + "//a/./b", 0},
        {folder.path().string() + "/a/b/../b", 0},
        {folder.File("a/missing"), ENOENT},
        {folder.File("a/file"), ENOTDIR},
        {folder.File("a/file/b"), ENOTDIR},
        {"", ENOENT},
    };
    for (const auto& c : cases) {
        Outcome outcome = Walk(c.path, b);
        if (c.error == 0)
            EXPECT_TRUE(outcome.reached) << c.path << ": errno " << outcome.error;
        else
            EXPECT_EQ(outcome.error, c.error) << c.path;
    }
    std::error_code ignored;
    const fs::path previous = fs::current_path();
    fs::current_path(folder.path());
    EXPECT_TRUE(Walk("a/b", b).reached) << "relative to the current folder";
    fs::current_path(previous, ignored);
}

// An administrator's layout (a data folder on another disk, a link in a folder of root's) keeps
// working; a link that someone else made or could have swapped in does not.
TEST(SafePath, LinksAreFollowedOnlyWhereAnAdministratorMadeThem) {
    TempFolder folder;
    TempFolder disk;
    fs::create_directories(disk.path() / "Daten" / "Vorlagen");
    fs::create_directories(folder.path() / "root-only");
    fs::create_directories(folder.path() / "shared");
    ::chmod((folder.path() / "shared").c_str(), 0777);
    const fs::path target = disk.path() / "Daten" / "Vorlagen";
    const bool administrator = ::geteuid() == 0;

    const struct {
        const char* what;
        std::function<void(const fs::path&)> make; // makes the link at the given place
        const char* holder;                        // the folder the link lies in
        bool administratorOnly;
        int error; // 0: reaches the target
    } cases[] = {
        {"absolute link of root's",
         [&](const fs::path& l) { fs::create_directory_symlink(target, l); }, "root-only", false,
         0},
        {"relative link of root's",
         [&](const fs::path& l) {
             fs::create_directory_symlink(fs::relative(target, l.parent_path()), l);
         },
         "root-only", false, 0},
        {"link of another user",
         [&](const fs::path& l) {
             fs::create_directory_symlink(target, l);
             GiveLinkTo(l, kOtherUser);
         },
         "root-only", true, EACCES},
        {"root's link in a folder everyone writes",
         [&](const fs::path& l) { fs::create_directory_symlink(target, l); }, "shared", false,
         EACCES},
        {"link in a folder of another user",
         [&](const fs::path& l) {
             fs::create_directory_symlink(target, l);
             ASSERT_EQ(::chown(l.parent_path().c_str(), kOtherUser, kOtherUser), 0);
         },
         "root-only", true, EACCES},
        {"a link to itself", [&](const fs::path& l) { fs::create_directory_symlink(l, l); },
         "root-only", false, ELOOP},
    };
    for (const auto& c : cases) {
        if (c.administratorOnly && !administrator)
            continue;
        const fs::path holder = folder.path() / c.holder;
        const fs::path link = holder / "Vorlagen";
        fs::remove(link);
        ::chown(holder.c_str(), ::geteuid(), ::getegid());
        c.make(link);
        Outcome outcome = Walk(link.string(), target);
        if (c.error == 0)
            EXPECT_TRUE(outcome.reached) << c.what << ": errno " << outcome.error;
        else
            EXPECT_EQ(outcome.error, c.error) << c.what;
        // A link deeper in the path counts alike.
        outcome = Walk((link / "..").string(), target.parent_path());
        if (c.error == 0)
            EXPECT_TRUE(outcome.reached) << c.what << " on the way";
        else
            EXPECT_FALSE(outcome.opened) << c.what << " on the way";
    }
}

TEST(SafePath, CreatesMissingLevelsAndSaysWhich) {
    TempFolder folder;
    std::vector<std::string> created;
    int fd = OpenFolderSafely(folder.File("a/b/c"), MissingLevels::Create, &created);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(SameFolder(fd, folder.path() / "a" / "b" / "c"));
    ::close(fd);
    EXPECT_EQ(created, (std::vector<std::string>{folder.File("a"), folder.File("a/b"),
                                                 folder.File("a/b/c")}));
    created.clear();
    fd = OpenFolderSafely(folder.File("a/b/d"), MissingLevels::Create, &created);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(created, (std::vector<std::string>{folder.File("a/b/d")})) << "only what was made";
}

// What the file services do when a level of the target's folder is a link placed by another
// user, the attack on a shared data folder: nothing is created or written behind it, and the
// same layout made by root installs.
TEST(SafePath, FileServicesWriteNothingBehindAForeignLink) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only an administrator can make a link of another user";
    TempFolder data;
    TempFolder elsewhere;
    WriteFile(data.File("Brief.dot"), "payload");
    WriteFile(elsewhere.File("Update.inf"), "root's record");
    WriteFile(elsewhere.File("Programm.exe"), "root's program");
    const fs::path link = data.path() / "Vorlagen";
    const struct {
        const char* what;
        std::function<bool()> run;
    } cases[] = {
        {"CreateFolder", [&] { return platform::CreateFolder((link / "Standard").string()); }},
        {"CopyFileReplacing",
         [&] {
             return platform::CopyFileReplacing(data.File("Brief.dot"),
                                                (link / "Programm.exe").string());
         }},
        {"CopyFileReplacing, new file",
         [&] {
             return platform::CopyFileReplacing(data.File("Brief.dot"),
                                                (link / "Brief.dot").string());
         }},
        {"OverwriteExistingFile",
         [&] {
             return platform::OverwriteExistingFile((link / "Update.inf").string(), "  Hotfix");
         }},
    };
    for (bool foreign : {true, false}) {
        for (const auto& c : cases) {
            fs::remove(link);
            fs::create_directory_symlink(elsewhere.path(), link);
            if (foreign)
                GiveLinkTo(link, kOtherUser);
            EXPECT_EQ(c.run(), !foreign) << c.what << (foreign ? " through a foreign link" : "");
            platform::FinishReplacingCopies();
            if (foreign) {
                EXPECT_EQ(elsewhere.Names(), (std::set<std::string>{"Programm.exe", "Update.inf"}))
                    << c.what;
                EXPECT_EQ(ReadFile(elsewhere.File("Programm.exe")), "root's program");
                EXPECT_EQ(ReadFile(elsewhere.File("Update.inf")), "root's record");
            }
        }
    }
    EXPECT_EQ(ReadFile(elsewhere.File("Update.inf")), "  Hotfix") << "root's own link works";
    EXPECT_TRUE(fs::is_directory(elsewhere.path() / "Standard"));
}

} // namespace
#endif
