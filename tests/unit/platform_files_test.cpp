// File services on both targets, above all that a copy never leaves a torn target behind.
#include "platform/FileContent.h"
#include "platform/Files.h"
#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#ifdef _WIN32
#include "platform/WindowsHeaders.h"
#else
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using platform_test::ReadFile;
using platform_test::TempFolder;
using platform_test::WriteFile;

// Bytes that show a shifted, cut or repeated block: no two 4-byte windows alike.
std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    return bytes;
}

TEST(Files, PathExists) {
    TempFolder folder;
    WriteFile(folder.File("file.txt"), "x");
    fs::create_directories(folder.path() / "sub");
    const struct {
        std::string path;
        bool exists;
    } cases[] = {
        {folder.File("file.txt"), true},
        {folder.File("sub"), true},
        {folder.File("sub") + "\\", true},
        {folder.File("sub") + "\\..\\file.txt", true},
        {folder.File("missing"), false},
        {folder.File("missing") + "\\file.txt", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::PathExists(c.path), c.exists) << c.path;
}

TEST(Files, CreateFolderMakesOneLevel) {
    TempFolder folder;
    EXPECT_TRUE(platform::CreateFolder(folder.File("a")));
    EXPECT_TRUE(fs::is_directory(folder.path() / "a"));
    EXPECT_FALSE(platform::CreateFolder(folder.File("a"))) << "exists already";
    EXPECT_FALSE(platform::CreateFolder(folder.File("x") + "\\y")) << "parent missing";
    EXPECT_TRUE(platform::CreateFolder(folder.File("a") + "\\b"));
    EXPECT_TRUE(fs::is_directory(folder.path() / "a" / "b"));
    WriteFile(folder.File("file"), "x");
    EXPECT_FALSE(platform::CreateFolder(folder.File("file"))) << "a file of that name";
}

class ReplacingCopy : public ::testing::Test {
protected:
    // What the folder holds once the run of copies has ended.
    std::set<std::string> NamesAfterCopies() {
        platform::FinishReplacingCopies();
        return folder_.Names();
    }

    TempFolder folder_;
    const std::string source_ = folder_.File("source.bin");
    const std::string target_ = folder_.File("target.bin");
};

TEST_F(ReplacingCopy, NewTargetAndReplacedTargetHoldTheSourceBytes) {
    // Larger than any copy buffer, and not a multiple of one.
    const std::string bytes = Pattern((3 << 20) + 12345);
    WriteFile(source_, bytes);
    ASSERT_TRUE(platform::CopyFileReplacing(source_, target_));
    EXPECT_TRUE(ReadFile(target_) == bytes);

    const std::string shorter = Pattern(100);
    WriteFile(source_, shorter);
    ASSERT_TRUE(platform::CopyFileReplacing(source_, target_));
    EXPECT_EQ(ReadFile(target_), shorter) << "nothing of the longer old target remains";

    WriteFile(source_, "");
    ASSERT_TRUE(platform::CopyFileReplacing(source_, target_));
    EXPECT_EQ(ReadFile(target_), "");
    EXPECT_EQ(NamesAfterCopies(), (std::set<std::string>{"source.bin", "target.bin"}));
}

TEST_F(ReplacingCopy, BackslashPaths) {
    fs::create_directories(folder_.path() / "sub");
    WriteFile(source_, "bytes");
    ASSERT_TRUE(platform::CopyFileReplacing(source_, folder_.File("sub") + "\\copy.bin"));
    EXPECT_EQ(ReadFile(folder_.File("sub/copy.bin")), "bytes");
}

TEST_F(ReplacingCopy, FailuresLeaveTheOldTargetAndNoTemporary) {
    WriteFile(source_, "new content");
    WriteFile(target_, "old content");
    fs::create_directories(folder_.path() / "folder");
    const struct {
        const char* what;
        std::string source;
        std::string target;
    } cases[] = {
        {"missing source", folder_.File("missing.bin"), target_},
        {"source is a folder", folder_.File("folder"), target_},
        {"target is a folder", source_, folder_.File("folder")},
        {"target folder missing", source_, folder_.File("nowhere") + "\\target.bin"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(platform::CopyFileReplacing(c.source, c.target)) << c.what;
        EXPECT_EQ(ReadFile(target_), "old content") << c.what;
        EXPECT_EQ(NamesAfterCopies(), (std::set<std::string>{"folder", "source.bin", "target.bin"}))
            << c.what;
        EXPECT_TRUE(fs::is_empty(folder_.path() / "folder")) << c.what;
    }
}

// A copy does not replace a read-only file, as CopyFileA refuses to.
TEST_F(ReplacingCopy, ReadOnlyTargetStays) {
    WriteFile(source_, "new content");
    WriteFile(target_, "old content");
    fs::permissions(target_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(platform::CopyFileReplacing(source_, target_));
    EXPECT_EQ(ReadFile(target_), "old content");
    EXPECT_EQ(NamesAfterCopies(), (std::set<std::string>{"source.bin", "target.bin"}));
}

TEST_F(ReplacingCopy, CopyKeepsTheModificationTime) {
    WriteFile(source_, "bytes");
    const auto time = fs::last_write_time(source_) - std::chrono::hours(24 * 400);
    fs::last_write_time(source_, time);
    ASSERT_TRUE(platform::CopyFileReplacing(source_, target_));
    EXPECT_TRUE(fs::last_write_time(target_) == time);
}

#ifdef _WIN32
TEST_F(ReplacingCopy, TargetInUseStays) {
    WriteFile(source_, "new content");
    WriteFile(target_, "old content");
    HANDLE open = CreateFileA(target_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(platform::CopyFileReplacing(source_, target_));
    CloseHandle(open);
    EXPECT_EQ(ReadFile(target_), "old content");
    EXPECT_EQ(NamesAfterCopies(), (std::set<std::string>{"source.bin", "target.bin"}));
}
#else
// A new file takes the payload's permission bits, never write for group or others; a replaced
// one keeps its own permissions, owner and group, whatever the payload's are.
TEST_F(ReplacingCopy, NewFilesAreNoMoreOpenThanThePayloadAllows) {
    const struct {
        mode_t payload;
        mode_t created;
    } cases[] = {{0755, 0755}, {0640, 0640}, {0500, 0500},
                 {0666, 0644}, {0777, 0755}, {04755, 0755}};
    for (const auto& c : cases) {
        WriteFile(source_, "#!/bin/sh\n");
        ASSERT_EQ(::chmod(source_.c_str(), c.payload), 0);
        fs::remove(target_);
        ASSERT_TRUE(platform::CopyFileReplacing(source_, target_)) << std::oct << c.payload;
        struct stat st;
        ASSERT_EQ(::stat(target_.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.created) << std::oct << c.payload;
        EXPECT_EQ(st.st_uid, ::geteuid());
    }
}

TEST_F(ReplacingCopy, ReplacedFileKeepsItsModeOwnerAndGroup) {
    const bool administrator = ::geteuid() == 0;
    const struct {
        mode_t target;
        uid_t uid;
        gid_t gid;
    } cases[] = {{0640, 0, 50}, {0600, 4321, 4322}, {0755, 0, 0}, {0444 | 0200, 4321, 0}};
    for (const auto& c : cases) {
        WriteFile(source_, "new content");
        ASSERT_EQ(::chmod(source_.c_str(), 0666), 0);
        WriteFile(target_, "old content");
        ASSERT_EQ(::chmod(target_.c_str(), c.target), 0);
        const uid_t uid = administrator ? c.uid : ::geteuid();
        const gid_t gid = administrator ? c.gid : ::getegid();
        if (administrator) {
            ASSERT_EQ(::chown(target_.c_str(), uid, gid), 0);
        }
        ASSERT_TRUE(platform::CopyFileReplacing(source_, target_)) << std::oct << c.target;
        struct stat st;
        ASSERT_EQ(::stat(target_.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.target) << std::oct << c.target;
        EXPECT_EQ(st.st_uid, uid) << std::oct << c.target;
        EXPECT_EQ(st.st_gid, gid) << std::oct << c.target;
        EXPECT_EQ(ReadFile(target_), "new content");
    }
}

// A link in the target's place gives way to the copy, as MoveFileExA replaces a link: the file it
// named, which may lie anywhere, is not written.
TEST_F(ReplacingCopy, LinkAsTargetIsReplacedAsALink) {
    TempFolder outside;
    const std::string protectedFile = outside.File("protected.bin");
    WriteFile(source_, "new content");
    WriteFile(protectedFile, "protected");
    ASSERT_EQ(::chmod(protectedFile.c_str(), 0444), 0);
    fs::create_symlink(protectedFile, target_);
    ASSERT_TRUE(platform::CopyFileReplacing(source_, target_));
    EXPECT_FALSE(fs::is_symlink(target_));
    EXPECT_EQ(ReadFile(target_), "new content");
    EXPECT_EQ(ReadFile(protectedFile), "protected");

    fs::remove(target_);
    fs::create_symlink(outside.File("missing.bin"), target_);
    ASSERT_TRUE(platform::CopyFileReplacing(source_, target_)) << "a dangling link";
    EXPECT_EQ(ReadFile(target_), "new content");
    EXPECT_FALSE(fs::exists(outside.File("missing.bin")));
    EXPECT_EQ(outside.Names(), (std::set<std::string>{"protected.bin"}));
}

// A FIFO, whoever holds its other end, must neither be waited on nor replaced; the answer comes at
// once (a hang ends the test by the alarm).
TEST_F(ReplacingCopy, SpecialFilesAreRefusedAtOnce) {
    const std::string fifo = folder_.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    WriteFile(source_, "new content");
    WriteFile(target_, "old content");
    ::alarm(20);
    EXPECT_FALSE(platform::CopyFileReplacing(fifo, target_)) << "FIFO as source";
    EXPECT_FALSE(platform::CopyFileReplacing(source_, fifo)) << "FIFO as target";
    ::alarm(0);
    struct stat st;
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(ReadFile(target_), "old content");
    EXPECT_EQ(NamesAfterCopies(), (std::set<std::string>{"fifo", "source.bin", "target.bin"}));
}

// Temporary names are short: a target name of 250 bytes (the file system allows 255) copies.
TEST_F(ReplacingCopy, LongTargetNameCopies) {
    const std::string longTarget = folder_.File(std::string(250, 'n') + ".dll");
    WriteFile(source_, "bytes");
    WriteFile(longTarget, "old");
    ASSERT_TRUE(platform::CopyFileReplacing(source_, longTarget));
    EXPECT_EQ(ReadFile(longTarget), "bytes");
    EXPECT_EQ(NamesAfterCopies().size(), 2u);
}

// A child copies under a file-size limit far below the source's size: by default the system ends
// it with SIGXFSZ in the middle of the copy; with that signal ignored, the write fails instead.
// Either way the old target must be whole and no temporary may be left.
TEST_F(ReplacingCopy, InterruptedCopyLeavesTheOldTarget) {
    WriteFile(source_, Pattern(8 << 20));
    WriteFile(folder_.File("small.bin"), "small");
    const std::string old = Pattern(3000);
    for (bool killed : {true, false}) {
        WriteFile(target_, old);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            struct rlimit none = {0, 0};
            struct rlimit small = {1 << 20, 1 << 20};
            ::setrlimit(RLIMIT_CORE, &none);
            ::setrlimit(RLIMIT_FSIZE, &small);
            std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            ::_exit(platform::CopyFileReplacing(source_, target_) ? 0 : 3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (killed)
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        else
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
        EXPECT_TRUE(ReadFile(target_) == old) << "killed " << killed;
        // The next copy into the folder clears what the interrupted one left.
        WriteFile(target_, old);
        ASSERT_TRUE(platform::CopyFileReplacing(folder_.File("small.bin"), target_));
        EXPECT_EQ(ReadFile(target_), "small");
        EXPECT_EQ(NamesAfterCopies(),
                  (std::set<std::string>{"small.bin", "source.bin", "target.bin"}))
            << "killed " << killed;
    }
}
#endif

TEST(Files, OverwriteExistingFileNeverCreates) {
    TempFolder folder;
    const std::string record = folder.File("Update.inf");
    EXPECT_FALSE(platform::OverwriteExistingFile(record, "  Hotfix"));
    EXPECT_FALSE(fs::exists(record));

    WriteFile(record, "an older and much longer content\r\n");
    EXPECT_TRUE(platform::OverwriteExistingFile(record, "  Hotfix"));
    EXPECT_EQ(ReadFile(record), "  Hotfix");
    EXPECT_TRUE(platform::OverwriteExistingFile(folder.path().string() + "\\Update.inf", ""));
    EXPECT_EQ(ReadFile(record), "");
    EXPECT_FALSE(platform::OverwriteExistingFile(folder.path().string(), "x")) << "a folder";
}

TEST(Files, ReadFileStartGivesTheBytesUpToItsLimit) {
    TempFolder folder;
    const std::string bytes("line\r\n\0\xFF\x1A"
                            "end",
                            12);
    WriteFile(folder.File("data"), bytes);
    std::string content = "stale";
    ASSERT_TRUE(platform::ReadFileStart(folder.File("data"), 1000, content));
    EXPECT_EQ(content, bytes);
    ASSERT_TRUE(platform::ReadFileStart(folder.File("data"), 5, content));
    EXPECT_EQ(content, "line\r");
    const std::string large = Pattern(200000);
    WriteFile(folder.File("large"), large);
    ASSERT_TRUE(platform::ReadFileStart(folder.File("large"), 70000, content));
    EXPECT_TRUE(content == large.substr(0, 70000));

    WriteFile(folder.File("empty"), "");
    ASSERT_TRUE(platform::ReadFileStart(folder.File("empty"), 1000, content));
    EXPECT_EQ(content, "");

    EXPECT_FALSE(platform::ReadFileStart(folder.File("missing"), 1000, content));
    EXPECT_FALSE(platform::ReadFileStart(folder.path().string(), 1000, content)) << "a folder";
}

#ifndef _WIN32
// The run record is rewritten only in place of a plain file of a single name. Everything else is
// left alone, and so is whatever it leads to. A FIFO answers at once (a hang ends the test by the
// alarm), with or without a reader at its other end.
TEST(Files, OverwriteExistingFileWritesOnlyAPlainFile) {
    TempFolder folder;
    TempFolder outside;
    const std::string record = folder.File("Update.inf");
    const std::string other = outside.File("other");
    const struct {
        const char* what;
        std::function<void()> prepare;
    } cases[] = {
        {"a link to a file", [&] { fs::create_symlink(other, record); }},
        {"a second name of a file", [&] { fs::create_hard_link(other, record); }},
        {"read-only", [&] { WriteFile(record, "old"), ::chmod(record.c_str(), 0444); }},
        {"a FIFO", [&] { ::mkfifo(record.c_str(), 0666); }},
        {"a FIFO with a reader",
         [&] {
             ::mkfifo(record.c_str(), 0666);
             ::open(record.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); // stays open
         }},
    };
    for (const auto& c : cases) {
        fs::remove(record);
        WriteFile(other, "untouched");
        c.prepare();
        ::alarm(20);
        EXPECT_FALSE(platform::OverwriteExistingFile(record, "  Hotfix")) << c.what;
        ::alarm(0);
        EXPECT_EQ(ReadFile(other), "untouched") << c.what;
        if (fs::is_regular_file(fs::symlink_status(record))) {
            EXPECT_EQ(ReadFile(record), c.what == std::string("read-only") ? "old" : "untouched")
                << c.what;
        }
    }
}
#endif

} // namespace
