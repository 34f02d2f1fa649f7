// Building the copy list must stay linear in the number of File entries: CollectFiles over 10,000
// entries against one parse of the same SETUP.INF (goal: at most 3 times).
#include "platform/Profile.h"
#include "setup/config/HostFolders.h"
#include "setup/engine/SetupEngine.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 10000;
constexpr int kFewEntries = 1000;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void WriteSetupInf(const fs::path& path, int entries) {
    std::ofstream out(path, std::ios::binary);
    out << "[Installation]\r\nBezeichnung=Benchmark\r\n[Block1]\r\nSection=Dirs\r\nPfad=Target\r\n";
    for (int m = 1; m <= entries; ++m)
        out << "File" << m << "=Ordner\\Datei" << m << ".dll;VERSION WIN2K\r\n";
}

// Shows and asks nothing; an error would leave the list short, which the run reports.
struct QuietView final : SetupView {
    void ShowHeader(const std::string&) override {}
    void ShowReady(const SetupMessage&) override {}
    void ShowSetupError(const SetupMessage&) override {}
    void BeginInstall() override {}
    void ShowProgress(int) override {}
    void SetProgress(int) override {}
    void SetInfoText(const SetupMessage&) override {}
    std::string FitPathToInfoText(const std::string& path) override { return path; }
    bool AskReplace(const ReplaceQuestion&) override { return true; }
    void ShowSuccess(const SetupMessage&) override {}
};

// The best of a few runs of CollectFiles over a new SETUP.INF of `entries` File entries.
double CollectSeconds(const fs::path& dir, int entries, int round) {
    fs::path inf =
        dir / ("SETUP-" + std::to_string(entries) + "-" + std::to_string(round) + ".INF");
    WriteSetupInf(inf, entries);
    QuietView view;
    InstallContext context;
    context.setupInf = inf.string();
    context.host = SystemHostFolders();
    const SetupEngine engine(view, SystemActions(), context);
    CCopyList list;
    auto start = std::chrono::steady_clock::now();
    engine.CollectFiles(list);
    double seconds = Seconds(start);
    if (list.size() != static_cast<size_t>(entries))
        std::printf("unexpected: %zu entries collected\n", list.size());
    return seconds;
}

} // namespace

int main() {
    fs::path dir =
        fs::temp_directory_path() / ("quarnel-bench-collect-" + std::to_string(::getpid()));
    fs::create_directories(dir / "windows");
    fs::path target = dir / "target";
    fs::create_directories(target);
    std::ofstream(dir / "windows" / "TALMORIX.INI", std::ios::binary)
        << "[Dirs]\r\nTarget=" << target.string() << "\r\n";
    ::setenv("QUARNEL_WINDIR", (dir / "windows").c_str(), 1);

    const int rounds = 5;
    double parse = 1e9;
    double collect = 1e9;
    double collectFew = 1e9;
    for (int round = 0; round < rounds; ++round) {
        // A new file each time, so that no measure reads a parse cached before.
        fs::path inf = dir / ("SETUP" + std::to_string(round) + ".INF");
        WriteSetupInf(inf, kEntries);
        auto start = std::chrono::steady_clock::now();
        platform::ReadProfileValue("Installation", "Bezeichnung", inf.string());
        parse = std::min(parse, Seconds(start));
        collect = std::min(collect, CollectSeconds(dir, kEntries, round));
        collectFew = std::min(collectFew, CollectSeconds(dir, kFewEntries, round));
    }
    fs::remove_all(dir);

    std::printf("CollectFiles over %d entries: %.2f ms; one parse of SETUP.INF: %.2f ms\n",
                kEntries, collect * 1e3, parse * 1e3);
    std::printf("ratio %.2f (goal: at most 3.00) %s\n", collect / parse,
                collect / parse <= 3.0 ? "met" : "missed");
    // Linear growth doubles nothing: ten times the entries take ten times as long.
    std::printf("growth from %d to %d entries: %.1f times (linear: 10)\n", kFewEntries, kEntries,
                collect / collectFew);
    return 0;
}
