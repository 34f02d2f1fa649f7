// The log file an administrator names: the elevated setup writes it only into a plain file of its
// own, whatever someone placed at that name beforehand.
#include "platform/LogFile.h"
#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using platform_test::ReadFile;
using platform_test::TempFolder;
using platform_test::WriteFile;

TEST(LogFile, CreatesOrEmptiesAPlainFileAndAppends) {
    TempFolder folder;
    WriteFile(folder.File("old.log"), "a longer log of an earlier run\r\n");
    for (const std::string name : {"new.log", "old.log"}) {
        platform::LogFile log;
        ASSERT_TRUE(log.Open(folder.File(name))) << name;
        EXPECT_TRUE(log.Append("first\r\n"));
        EXPECT_TRUE(log.Append("second\r\n"));
        // Written at once: readable while the log is still open.
        EXPECT_EQ(ReadFile(folder.File(name)), "first\r\nsecond\r\n") << name;
    }
    platform::LogFile closed;
    EXPECT_FALSE(closed.Append("x"));
}

// Each of these names something that is not the log's own plain file; it stays as it was.
TEST(LogFile, RefusesWhatIsNotAPlainFileOfItsOwn) {
    TempFolder folder;
    WriteFile(folder.File("victim.txt"), "keep me");
    fs::create_hard_link(folder.path() / "victim.txt", folder.path() / "second-name.log");
    fs::create_directories(folder.path() / "folder.log");
    std::vector<std::string> refused = {folder.File("second-name.log"), folder.File("folder.log"),
                                        folder.File("missing") + "/x.log", ""};
#ifndef _WIN32
    fs::create_symlink(folder.path() / "victim.txt", folder.path() / "link.log");
    fs::create_symlink(folder.path() / "absent.txt", folder.path() / "dangling.log");
    ASSERT_EQ(mkfifo(folder.File("fifo.log").c_str(), 0600), 0);
    refused.insert(refused.end(),
                   {folder.File("link.log"), folder.File("dangling.log"), folder.File("fifo.log")});
#endif
    for (const std::string& path : refused) {
        platform::LogFile log;
        EXPECT_FALSE(log.Open(path)) << path;
        EXPECT_FALSE(log.IsOpen()) << path;
    }
    EXPECT_EQ(ReadFile(folder.File("victim.txt")), "keep me");
    EXPECT_FALSE(fs::exists(folder.path() / "absent.txt"));
}

TEST(LogFile, TimeStampsSortAsText) {
    EXPECT_EQ(platform::FormatTimeStamp(2026, 12, 11, 14, 6, 6), "2026-12-11 14:06:06");
    EXPECT_EQ(platform::FormatTimeStamp(999, 1, 2, 0, 0, 59), "0999-01-02 00:00:59");
    std::string now = platform::LogTimeStamp();
    ASSERT_EQ(now.size(), 19u) << now;
    EXPECT_EQ(now.substr(4, 1) + now.substr(7, 1) + now.substr(10, 1) + now.substr(13, 1) +
                  now.substr(16, 1),
              "-- ::")
        << now;
}

} // namespace
