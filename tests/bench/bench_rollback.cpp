// What the rollback bookkeeping costs a copy pass: 5,000 files of 4 KiB copied with the pass
// record (intent, backups, a line per file, the commit) against the same copies without it, once
// over existing targets (each one kept as a backup) and once into an empty folder. Prints the
// median ratio of the times (with / without) of alternating runs; 1.00 means it costs nothing.
#include "platform/Files.h"
#include "platform/InstallJournal.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 5000;
constexpr int kRuns = 7;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Fill(const fs::path& folder, const std::string& content) {
    fs::create_directories(folder);
    for (int i = 0; i < kFiles; ++i)
        std::ofstream(folder / ("f" + std::to_string(i) + ".dat"), std::ios::binary) << content;
}

// One pass over every file; false when a copy failed.
bool Pass(const fs::path& source, const fs::path& target, bool recorded) {
    std::vector<std::string> targets;
    for (int i = 0; i < kFiles; ++i)
        targets.push_back((target / ("f" + std::to_string(i) + ".dat")).string());
    if (recorded && !(platform::BeginPass() && platform::PlanReplacements(targets)))
        return false;
    bool copied = true;
    for (int i = 0; i < kFiles && copied; ++i)
        copied = platform::CopyFileReplacing((source / ("f" + std::to_string(i) + ".dat")).string(),
                                             targets[i]);
    platform::FinishReplacingCopies();
    if (recorded)
        copied = platform::CommitPass() && copied;
    return copied;
}

// Times a pass with and without the record, alternating which goes first, over targets that
// `prepare` lays out afresh before each.
template <typename Prepare>
bool Compare(const char* what, const fs::path& source, const fs::path& target, Prepare prepare) {
    std::vector<double> ratios;
    for (int run = 0; run < kRuns; ++run) {
        double seconds[2] = {0, 0};
        for (int turn = 0; turn < 2; ++turn) {
            const bool recorded = (turn + run) % 2 == 0;
            prepare();
            const auto start = std::chrono::steady_clock::now();
            if (!Pass(source, target, recorded)) {
                std::printf("%s: a copy failed\n", what);
                return false;
            }
            seconds[recorded ? 1 : 0] = Seconds(start);
        }
        ratios.push_back(seconds[1] / seconds[0]);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("rollback bookkeeping, %s: time with the record / without %.2f (min %.2f, max "
                "%.2f)\n",
                what, ratios[kRuns / 2], ratios.front(), ratios.back());
    return true;
}

} // namespace

int main() {
    const fs::path work =
        fs::temp_directory_path() / ("quarnel-bench-rollback-" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    // The record goes where the benchmark may write, not into the system's state folder.
    const std::string state = (work / "state").string();
    ::setenv("QUARNEL_STATEDIR", state.c_str(), 1);
    if (platform::PrepareInstall() != platform::InstallStart::Ready) {
        std::printf("no state folder at %s\n", state.c_str());
        return 1;
    }
    const fs::path source = work / "source";
    const fs::path target = work / "target";
    Fill(source, std::string(4096, 'n'));
    bool ok = Compare("5,000 files of 4 KiB replacing existing ones", source, target, [&] {
        fs::remove_all(target);
        Fill(target, std::string(4096, 'o'));
    });
    ok = Compare("5,000 new files of 4 KiB", source, target,
                 [&] {
                     fs::remove_all(target);
                     fs::create_directories(target);
                 }) &&
         ok;
    fs::remove_all(work);
    return ok ? 0 : 1;
}
