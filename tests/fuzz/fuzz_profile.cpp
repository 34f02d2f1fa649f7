// libFuzzer entry over the POSIX profile reader: one input is parsed as a profile file and read
// the way the setup reads SETUP.INF, with names from the input itself as well; the command lines
// found are split as the follow-up programs' are.
#include "platform/posix/CommandLine.h"
#include "platform/posix/ProfileParser.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// What the setup relies on for every value it reads.
void Check(const std::string& value) {
    if (value.size() > platform::kProfileValueLimit || value.find('\0') != std::string::npos)
        std::abort();
}

std::string Read(const platform::ProfileData& profile, const std::string& section,
                 const std::string& key) {
    std::string value = profile.Find(section, key);
    Check(value);
    return value;
}

void ReadLikeTheSetup(const platform::ProfileData& profile) {
    Read(profile, "Installation", "Bezeichnung");
    for (int n = 1; n <= 3; ++n) {
        const std::string number = std::to_string(n);
        Read(profile, "Installation", "RequiredVersion" + number);
        Read(profile, "installation", "INFOTEXT" + number);
        platform::SplitCommandLine(Read(profile, "Installation", "EXEFile" + number));
        const std::string block = "Block" + number;
        Read(profile, block, "Section");
        Read(profile, block, "Pfad");
        Read(profile, block, "Subdir");
        Read(profile, block, "File" + number);
    }
    Read(profile, "GENERAL-Directories", "DataDir");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    platform::ProfileData profile = platform::ParseProfile(text, size);
    ReadLikeTheSetup(profile);

    // A section and a key name taken from the input's first bytes.
    if (size >= 2) {
        size_t sectionLength = std::min<size_t>(data[0] % 16, size - 2);
        size_t keyLength = std::min<size_t>(data[1] % 16, size - 2 - sectionLength);
        std::string section(text + 2, sectionLength);
        std::string key(text + 2 + sectionLength, keyLength);
        platform::SplitCommandLine(Read(profile, section, key));
    }
    platform::SplitCommandLine(std::string(text, size));
    return 0;
}
