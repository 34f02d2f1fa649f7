// What the platform tells about the running program and the system.
#include "platform/Files.h"
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

TEST(SystemInfo, ModuleFileNameIsThisProgram) {
    const std::string path = platform::ModuleFilePath();
    EXPECT_TRUE(platform::PathExists(path)) << path;
    EXPECT_EQ(std::filesystem::path(path).stem().string(), "unit_platform") << path;
}

#ifdef _WIN32
TEST(SystemInfo, WindowsFolders) {
    for (const std::string& folder : {platform::WindowsFolder(), platform::SystemFolder()}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_NE(folder.back(), '\\') << folder;
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    }
}

TEST(SystemInfo, VersionOfAnNtSystem) {
    platform::OsVersion version = platform::GetOsVersion();
    EXPECT_TRUE(version.ok);
    EXPECT_EQ(version.platformId, 2u);
    EXPECT_GE(version.major, 5u);
}
#else
TEST(SystemInfo, ModuleFileNameForTesting) {
    platform::SetModuleFilePathForTesting("/opt/package/setup");
    EXPECT_EQ(platform::ModuleFilePath(), "/opt/package/setup");
    platform::SetModuleFilePathForTesting("");
    EXPECT_NE(platform::ModuleFilePath(), "/opt/package/setup");
}

TEST(SystemInfo, WindowsFoldersFromTheEnvironment) {
    const struct {
        const char* windows; // nullptr: unset
        const char* system;
        const char* expectedWindows;
        const char* expectedSystem;
    } cases[] = {
        {nullptr, nullptr, "", ""},
        {"", nullptr, "", ""},
        {"/srv/win", nullptr, "/srv/win", "/srv/win/system32"},
        {"/srv/win//", nullptr, "/srv/win", "/srv/win/system32"},
        {"/", nullptr, "/", "/system32"},
        {"/srv/win", "/srv/sys/", "/srv/win", "/srv/sys"},
        {nullptr, "/srv/sys", "", "/srv/sys"},
    };
    for (const auto& c : cases) {
        c.windows ? ::setenv("QUARNEL_WINDIR", c.windows, 1) : ::unsetenv("QUARNEL_WINDIR");
        c.system ? ::setenv("QUARNEL_SYSDIR", c.system, 1) : ::unsetenv("QUARNEL_SYSDIR");
        EXPECT_EQ(platform::WindowsFolder(), c.expectedWindows);
        EXPECT_EQ(platform::SystemFolder(), c.expectedSystem);
    }
    ::unsetenv("QUARNEL_WINDIR");
    ::unsetenv("QUARNEL_SYSDIR");
}

TEST(SystemInfo, NoWindowsVersion) {
    platform::OsVersion version = platform::GetOsVersion();
    EXPECT_EQ(version.platformId, 0u);
}
#endif

} // namespace
