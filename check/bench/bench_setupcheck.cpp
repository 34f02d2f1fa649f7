// A package of 10,000 entries must be checked well under a second: prints the time of the check
// and its ratio to that goal (below 1 meets it).
#include "check/StaticCheck.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

int main() {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / "quarnel-bench-setupcheck";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream inf(folder / "SETUP.INF", std::ios::binary);
    inf << "[Installation]\r\nBezeichnung=Hotfix\r\n";
    const int kBlocks = 100, kFilesPerBlock = 100;
    for (int b = 1; b <= kBlocks; ++b) {
        inf << "[Block" << b << "]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\n";
        for (int f = 1; f <= kFilesPerBlock; ++f) {
            std::string name = "f" + std::to_string(b) + "_" + std::to_string(f) + ".txt";
            inf << "File" << f << "=" << name << ";WIN2K\r\n";
            std::ofstream(folder / name) << "x";
        }
    }
    inf.close();

    auto start = std::chrono::steady_clock::now();
    Findings findings = CheckPackage(folder.string() + "/");
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("setupcheck, %d entries: %.3f s, %zu findings; ratio to the 1 s goal: %.3f\n",
                kBlocks * kFilesPerBlock, seconds, findings.size(), seconds / 1.0);
    fs::remove_all(folder);
    return 0;
}
