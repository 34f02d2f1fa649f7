// Reading a FileVersion must cost the same for a large program as for a small one: only the
// headers and the resource section are read. Builds a 64 KiB and a 512 MiB PE image (the large
// one sparse: a big section of zeros before the resources), reads the FileVersion of each many
// times through the platform's version functions and prints the ratio of the times (goal: <= 1.5).
#include "platform/VersionInfo.h"
#include "tests/fixtures/VersionBlockBuilder.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using fixtures::PutU16;
using fixtures::PutU32;

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kHeadersSize = 0x400;

uint32_t AlignUp(uint64_t value, uint32_t alignment) {
    return static_cast<uint32_t>((value + alignment - 1) / alignment * alignment);
}

// type 16 -> name 1 -> language 0x0407 -> the block; the directory's offsets count from its root.
std::vector<uint8_t> ResourceSection(const std::vector<uint8_t>& block, uint32_t sectionRva) {
    std::vector<uint8_t> out;
    auto directory = [&](uint32_t id, uint32_t target) {
        for (int i = 0; i < 3; ++i)
            PutU32(out, 0); // characteristics, time stamp, version
        PutU16(out, 0);     // named entries
        PutU16(out, 1);     // numbered entries
        PutU32(out, id);
        PutU32(out, target);
    };
    directory(16, 0x80000000 | 24);
    directory(1, 0x80000000 | 48);
    directory(0x0407, 72);
    PutU32(out, sectionRva + 88); // the data entry: RVA, size, code page, reserved
    PutU32(out, static_cast<uint32_t>(block.size()));
    PutU32(out, 0);
    PutU32(out, 0);
    out.insert(out.end(), block.begin(), block.end());
    return out;
}

// Writes a PE32+ DLL of `fileSize` bytes: headers, a section of zeros (a hole in the file), and
// the resource section at the end.
void WriteImage(const std::string& path, uint64_t fileSize, const std::vector<uint8_t>& block) {
    uint32_t rsrcRaw = AlignUp(ResourceSection(block, 0).size(), kFileAlignment);
    uint32_t padRaw = AlignUp(fileSize - kHeadersSize - rsrcRaw, kFileAlignment);
    uint32_t padRva = kSectionAlignment;
    uint32_t rsrcRva = padRva + AlignUp(padRaw, kSectionAlignment);
    std::vector<uint8_t> rsrc = ResourceSection(block, rsrcRva);
    rsrc.resize(rsrcRaw, 0);

    std::vector<uint8_t> h;
    PutU16(h, 0x5A4D);
    h.resize(0x3C, 0);
    PutU32(h, 0x40);
    PutU32(h, 0x00004550);
    PutU16(h, 0x8664); // machine
    PutU16(h, 2);      // sections
    PutU32(h, 0);
    PutU32(h, 0);
    PutU32(h, 0);
    PutU16(h, 240);    // optional header size
    PutU16(h, 0x2022); // executable, large addresses, DLL
    PutU16(h, 0x20B);  // PE32+
    PutU16(h, 0);      // linker version
    PutU32(h, 0);      // code size
    PutU32(h, padRaw + rsrcRaw);
    PutU32(h, 0);
    PutU32(h, 0); // entry point
    PutU32(h, 0); // base of code
    PutU32(h, 0x80000000);
    PutU32(h, 0x1); // image base 0x180000000
    PutU32(h, kSectionAlignment);
    PutU32(h, kFileAlignment);
    PutU32(h, 0x00000006); // OS version 6.0
    PutU32(h, 0);          // image version
    PutU32(h, 0x00000006); // subsystem version 6.0
    PutU32(h, 0);
    PutU32(h, rsrcRva + AlignUp(rsrcRaw, kSectionAlignment)); // image size
    PutU32(h, kHeadersSize);
    PutU32(h, 0);      // checksum
    PutU16(h, 2);      // GUI subsystem
    PutU16(h, 0x0160); // dynamic base, NX compatible, high entropy
    for (int i = 0; i < 4; ++i) {
        PutU32(h, 0x100000); // stack and heap reserve and commit
        PutU32(h, 0);
    }
    PutU32(h, 0);
    PutU32(h, 16);
    for (uint32_t i = 0; i < 16; ++i) {
        PutU32(h, i == 2 ? rsrcRva : 0);
        PutU32(h, i == 2 ? static_cast<uint32_t>(rsrc.size()) : 0);
    }
    auto section = [&](const char* name, uint32_t rva, uint32_t raw, uint32_t offset,
                       uint32_t flags) {
        for (int i = 0; i < 8; ++i)
            h.push_back(static_cast<uint8_t>(i < 5 && name[i] ? name[i] : 0));
        PutU32(h, raw);
        PutU32(h, rva);
        PutU32(h, raw);
        PutU32(h, offset);
        PutU32(h, 0);
        PutU32(h, 0);
        PutU32(h, 0);
        PutU32(h, flags);
    };
    section(".pad", padRva, padRaw, kHeadersSize, 0x40000040);
    section(".rsrc", rsrcRva, rsrcRaw, kHeadersSize + padRaw, 0x40000040);
    h.resize(kHeadersSize, 0);

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(h.data()), static_cast<std::streamsize>(h.size()));
    out.seekp(static_cast<std::streamoff>(kHeadersSize) + padRaw);
    out.write(reinterpret_cast<const char*>(rsrc.data()),
              static_cast<std::streamsize>(rsrc.size()));
}

// Seconds per read of the FileVersion, the way the setup reads it.
double SecondsPerRead(const std::string& path, int rounds, std::string& version) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        platform::VersionData data;
        version.clear();
        if (!platform::LoadFileVersionInfo(path, data) ||
            !platform::QueryStringValue(data, "\\StringFileInfo\\040704b0\\FileVersion", version))
            return -1;
    }
    std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / rounds;
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("bench_version_read_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<uint8_t> block = fixtures::BuildVersionBlock(
        fixtures::StandardVersionRoot(0x0407, 1200,
                                      {fixtures::TextNode(u"CompanyName", u"Pr\u00FCfstand"),
                                       fixtures::TextNode(u"FileVersion", u"8.0.2.0")}));
    const std::string small = (dir / "small.dll").string();
    const std::string large = (dir / "large.dll").string();
    WriteImage(small, 64u << 10, block);
    WriteImage(large, uint64_t(512) << 20, block);

    const int rounds = 2000;
    std::string smallVersion;
    std::string largeVersion;
    SecondsPerRead(small, 50, smallVersion); // warm the caches alike
    SecondsPerRead(large, 50, largeVersion);
    double smallTime = SecondsPerRead(small, rounds, smallVersion);
    double largeTime = SecondsPerRead(large, rounds, largeVersion);
    std::printf("FileVersion of a 64 KiB image:  %-8s %8.2f us per read (%ju bytes)\n",
                smallVersion.c_str(), smallTime * 1e6, uintmax_t(fs::file_size(small)));
    std::printf("FileVersion of a 512 MiB image: %-8s %8.2f us per read (%ju bytes)\n",
                largeVersion.c_str(), largeTime * 1e6, uintmax_t(fs::file_size(large)));
    fs::remove_all(dir);
    if (smallTime <= 0 || largeTime <= 0) {
        std::printf("version read failed\n");
        return 1;
    }
    std::printf("ratio 512 MiB / 64 KiB: %.2f (goal: at most 1.5)\n", largeTime / smallTime);
    return 0;
}
