// The package check's dry run drives the setup's own run: it stops with the setup's message where
// the setup would, also for a payload entry that is no regular file, and changes nothing on disk.
#include "check/DryRun.h"
#include "framework/Messages.h"
#include "setup/res/resource.h"

#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using platform_test::TempFolder;
using platform_test::WriteFile;

namespace {

namespace fs = std::filesystem;

TEST(DryRun, StopsWhereTheSetupsCopyFails) {
    struct Case {
        const char* payload; // what the entry a.txt is in the package
        unsigned message;
    } cases[] = {
        {"file", IDS_SUCCESS},
        {"folder", IDS_COPY_FAILED},
        {"fifo", IDS_COPY_FAILED},
        {"missing", IDS_COPY_FAILED},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        fs::create_directories(folder.path() / "pkg");
        fs::create_directories(folder.path() / "win");
        fs::create_directories(folder.path() / "Daten" / "Client" / "program");
        WriteFile(folder.File("win/TALMORIX.INI"),
                  "[GENERAL-Directories]\r\nDataDir=" + folder.File("Daten") + "\r\n");
        WriteFile(folder.File("pkg/SETUP.INF"),
                  "[Installation]\r\nBezeichnung=Hotfix\r\nEXEFile1=nachlauf\r\n[Block1]\r\n"
                  "Section=GENERAL-Directories\r\nPfad=ProgDir\r\nFile1=a.txt\r\n");
        const std::string payload = folder.File("pkg/a.txt");
        const std::string kind = c.payload;
        if (kind == "file") {
            WriteFile(payload, "neu");
        } else if (kind == "folder") {
            fs::create_directories(payload);
        } else if (kind == "fifo") {
            ASSERT_EQ(::mkfifo(payload.c_str(), 0600), 0);
        }
        const std::set<std::string> before = folder.Names();

        DryRun run = DryRunPackage(folder.File("pkg") + "/", HostFoldersIn(folder.File("win")), 5);
        EXPECT_TRUE(run.ready) << c.payload;
        EXPECT_EQ(run.message, c.message) << c.payload;
        EXPECT_EQ(run.completed, c.message == IDS_SUCCESS) << c.payload;
        if (c.message == IDS_COPY_FAILED) {
            EXPECT_EQ(run.messageText.rfind(LoadMessage(IDS_COPY_FAILED).substr(0, 20), 0), 0u)
                << run.messageText;
        }
        bool ranProgram = false;
        for (const DryRunStep& step : run.steps)
            ranProgram = ranProgram || step.kind == "program";
        EXPECT_EQ(ranProgram, c.message == IDS_SUCCESS) << c.payload;
        EXPECT_EQ(folder.Names(), before);
        EXPECT_FALSE(fs::exists(folder.path() / "Daten" / "Client" / "program" / "a.txt"));
    }
}

} // namespace
