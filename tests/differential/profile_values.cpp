// Prints what the profile reader returns for a list of sections and keys in each file given:
// built for Windows it asks GetPrivateProfileStringA, built natively the POSIX reader, so the two
// outputs compare as text.
//
//   profile_values <queries> <profile file>...
//
// <queries> holds one "section TAB key" per line, in code page 1252. Each output line is
//   <file name> TAB <section> TAB <key> TAB <length> TAB <value bytes in hex>
#include "platform/Profile.h"
#include "tests/differential/VersionLine.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, std::string>> ReadQueries(const char* path) {
    std::vector<std::pair<std::string, std::string>> queries;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        size_t tab = line.find('\t');
        if (tab != std::string::npos)
            queries.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return queries;
}

std::string Hex(const std::string& bytes) {
    std::string hex;
    char digits[4];
    for (unsigned char b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        hex += digits;
    }
    return hex;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: profile_values <queries> <profile file>...\n");
        return 2;
    }
    const auto queries = ReadQueries(argv[1]);
    for (int i = 2; i < argc; ++i)
        for (const auto& [section, key] : queries) {
            std::string value = platform::ReadProfileValue(section, key, argv[i]);
            std::printf("%s\t%s\t%s\t%zu\t%s\n", differential::BaseName(argv[i]).c_str(),
                        Hex(section).c_str(), Hex(key).c_str(), value.size(), Hex(value).c_str());
        }
    return 0;
}
