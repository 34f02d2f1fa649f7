// The check runs in CI over whatever a package holds, so its time must grow with the package, not
// with its square: 100,000 entries are to be checked in under 2 s. Prints, for entries in one
// block and spread over many blocks, the time at 100,000 entries against that goal (below 1
// meets it) and the time of 100,000 over that of 50,000 (2 for linear growth, 4 for square).
#include "check/StaticCheck.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr double kGoalSeconds = 2.0;
constexpr int kEntries = 100000;

std::string PayloadName(int i) {
    return "f" + std::to_string(i) + ".txt";
}

// SETUP.INF naming `entries` payload files, `perBlock` to a block. Each entry carries a system
// filter; every `versionEvery`th also VERSION, as a package's programs and libraries do, so that
// its file is opened for its version resource (which these files lack: it is looked for twice).
void WriteSetupInf(const fs::path& folder, int entries, int perBlock, int versionEvery) {
    std::ofstream inf(folder / "SETUP.INF", std::ios::binary | std::ios::trunc);
    inf << "[Installation]\r\nBezeichnung=Hotfix\r\n";
    for (int i = 0; i < entries; ++i) {
        if (i % perBlock == 0)
            inf << "[Block" << i / perBlock + 1
                << "]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\n";
        inf << "File" << i % perBlock + 1 << "=" << PayloadName(i)
            << (i % versionEvery == 0 ? ";WIN2K VERSION\r\n" : ";WIN2K\r\n");
    }
}

fs::path MakePackage(const fs::path& root, int entries) {
    fs::path folder = root / std::to_string(entries);
    fs::create_directories(folder);
    for (int i = 0; i < entries; ++i)
        std::ofstream(folder / PayloadName(i)) << "x";
    return folder;
}

double SecondsToCheck(const fs::path& folder, int entries, int perBlock, int versionEvery,
                      size_t& findings) {
    WriteSetupInf(folder, entries, perBlock, versionEvery);
    auto start = std::chrono::steady_clock::now();
    findings = CheckPackage(folder.string() + "/").size();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
    fs::path root = fs::temp_directory_path() / "quarnel-bench-setupcheck";
    fs::remove_all(root);
    fs::path half = MakePackage(root, kEntries / 2);
    fs::path whole = MakePackage(root, kEntries);

    const struct {
        const char* layout;
        int perBlock;
        int versionEvery;
    } layouts[] = {{"one block, VERSION on every tenth", kEntries, 10},
                   {"blocks of 100, VERSION on every tenth", 100, 10},
                   {"one block, VERSION on each", kEntries, 1}};
    for (const auto& layout : layouts) {
        size_t findings = 0;
        double halfSeconds =
            SecondsToCheck(half, kEntries / 2, layout.perBlock, layout.versionEvery, findings);
        double seconds =
            SecondsToCheck(whole, kEntries, layout.perBlock, layout.versionEvery, findings);
        std::printf("setupcheck, %d entries (%s): %.3f s, %zu findings; ratio to the %.0f s "
                    "goal: %.3f; growth from %d entries: %.2f (2 is linear)\n",
                    kEntries, layout.layout, seconds, findings, kGoalSeconds,
                    seconds / kGoalSeconds, kEntries / 2, seconds / halfSeconds);
    }
    fs::remove_all(root);
    return 0;
}
