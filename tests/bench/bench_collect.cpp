// Building the copy list must stay linear in the number of File entries: CollectFiles over 10,000
// entries against one parse of the same SETUP.INF (goal: at most 3 times).
#include "platform/Profile.h"
#include "setup/app/SetupDlg.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 10000;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void WriteSetupInf(const fs::path& path, const fs::path& target) {
    std::ofstream out(path, std::ios::binary);
    out << "[Installation]\r\nBezeichnung=Benchmark\r\n[Block1]\r\nSection=Dirs\r\nPfad=Target\r\n";
    for (int m = 1; m <= kEntries; ++m)
        out << "File" << m << "=Ordner\\Datei" << m << ".dll;VERSION WIN2K\r\n";
    (void)target;
}

} // namespace

int main() {
    fs::path dir = fs::temp_directory_path() / ("quarnel-bench-collect-" + std::to_string(::getpid()));
    fs::create_directories(dir / "windows");
    fs::path target = dir / "target";
    fs::create_directories(target);
    std::ofstream(dir / "windows" / "TALMORIX.INI", std::ios::binary)
        << "[Dirs]\r\nTarget=" << target.string() << "\r\n";
    ::setenv("QUARNEL_WINDIR", (dir / "windows").c_str(), 1);

    const int rounds = 5;
    double parse = 1e9;
    double collect = 1e9;
    for (int round = 0; round < rounds; ++round) {
        // A new file each round, so that neither measure reads a parse cached before.
        fs::path inf = dir / ("SETUP" + std::to_string(round) + ".INF");
        WriteSetupInf(inf, target);
        auto start = std::chrono::steady_clock::now();
        platform::ReadProfileValue("Installation", "Bezeichnung", inf.string());
        parse = std::min(parse, Seconds(start));

        fs::path inf2 = dir / ("SETUP" + std::to_string(round) + "b.INF");
        WriteSetupInf(inf2, target);
        CSetupDlg dlg;
        dlg.m_strSetupInf = inf2.string();
        CCopyList list;
        start = std::chrono::steady_clock::now();
        dlg.CollectFiles(list);
        collect = std::min(collect, Seconds(start));
        if (list.size() != kEntries)
            std::printf("unexpected: %zu entries collected\n", list.size());
        for (CCopyEntry* entry : list)
            delete entry;
    }
    fs::remove_all(dir);

    std::printf("CollectFiles over %d entries: %.2f ms; one parse of SETUP.INF: %.2f ms\n", kEntries,
                collect * 1e3, parse * 1e3);
    std::printf("ratio %.2f (goal: at most 3.00) %s\n", collect / parse,
                collect / parse <= 3.0 ? "met" : "missed");
    return 0;
}
