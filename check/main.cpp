// setupcheck: checks a hotfix package before it ships and, given a host, shows what the setup
// would do there without changing anything.
#include "check/Console.h"
#include "check/DryRun.h"
#include "check/PrintableText.h"
#include "check/Report.h"
#include "check/StaticCheck.h"
#include "check/res/resource.h"
#include "framework/Messages.h"
#include "platform/Files.h"
#include "resources/Codepage.h"
#include "setup/config/FolderPath.h"
#include "setup/config/SetupFiles.h"
#include "setup/engine/OsCode.h"

#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr int kUsageStatus = 3;

struct Options {
    std::string host;
    std::string os;
    bool json = false;
    bool help = false;
    std::string package;
};

bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            options.help = true;
            return true;
        }
        if (arg == "--json")
            options.json = true;
        else if ((arg == "--host" || arg == "--os") && i + 1 < argc)
            (arg == "--host" ? options.host : options.os) = argv[++i];
        else if (!arg.empty() && arg[0] != '-' && options.package.empty())
            options.package = arg;
        else
            return false;
    }
    return !options.package.empty();
}

// The code GetOsCode would give on the system a tag names; -1 for an unknown tag.
int OsCodeOf(const std::string& tag) {
    if (tag.empty())
        return 0;
    for (int code = 1; OsTag(code); ++code)
        if (tag == OsTag(code))
            return code;
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    Utf8Console console;
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::cerr << PrintableMessage(IDS_CHECK_USAGE, {}) << '\n';
        return kUsageStatus;
    }
    if (options.help) {
        std::cout << PrintableMessage(IDS_CHECK_USAGE, {}) << "\n\n"
                  << resources::Cp1252ToUtf8(LoadMessage(IDS_CHECK_HELP)) << '\n';
        return 0;
    }
    int osCode = OsCodeOf(options.os);
    if (osCode < 0) {
        std::cerr << PrintableMessage(IDS_CHECK_UNKNOWN_OS, {PrintableArgument(options.os)})
                  << '\n';
        return kUsageStatus;
    }
    std::string folder = WithFinalBackslash(options.package);
#ifndef _WIN32
    if (folder.back() == '\\')
        folder.back() = '/';
#endif
    if (!platform::PathExists(folder + kSetupInfName)) {
        std::cerr << PrintableMessage(IDS_CHECK_NO_PACKAGE, {PrintableArgument(options.package)})
                  << '\n';
        return 2;
    }

    Findings findings = CheckPackage(folder);
    std::unique_ptr<DryRun> dryRun;
    if (!options.host.empty()) {
        dryRun =
            std::make_unique<DryRun>(DryRunPackage(folder, HostFoldersIn(options.host), osCode));
    }
    if (options.json)
        WriteJsonReport(std::cout, folder, findings, dryRun.get());
    else
        WriteTextReport(std::cout, folder, findings, dryRun.get());
    return ExitStatusOf(findings);
}
