#include "setup/app/ExitCode.h"

#include "setup/res/resource.h"

namespace {

// The codes Windows Installer established, which deployment tools know by number.
constexpr int kInvalidParameter = 87; // ERROR_INVALID_PARAMETER
constexpr int kUserExit = 1602;       // ERROR_INSTALL_USEREXIT
constexpr int kInstallFailure = 1603; // ERROR_INSTALL_FAILURE
constexpr int kAlreadyRunning = 1618; // ERROR_INSTALL_ALREADY_RUNNING
constexpr int kLogFailure = 1622;     // ERROR_INSTALL_LOG_FAILURE

constexpr int kPosixFailure = 1;
constexpr int kPosixUsage = 2;

int WindowsExitCode(const RunResult& result) {
    switch (result.end) {
    case RunEnd::Succeeded:
        return 0;
    case RunEnd::Cancelled:
        return kUserExit;
    case RunEnd::WrongCommandLine:
        return kInvalidParameter;
    case RunEnd::LogFailed:
        return kLogFailure;
    case RunEnd::Failed:
        break;
    }
    if (result.message == IDS_SETUP_RUNNING)
        return kAlreadyRunning;
    return result.message != 0 ? static_cast<int>(result.message) : kInstallFailure;
}

} // namespace

int ExitCodeOf(const RunResult& result, Conventions conventions) {
    if (conventions == Conventions::Windows)
        return WindowsExitCode(result);
    switch (result.end) {
    case RunEnd::Succeeded:
        return 0;
    case RunEnd::WrongCommandLine:
        return kPosixUsage;
    default:
        return kPosixFailure;
    }
}

std::string OnOneLine(const std::string& text) {
    std::string line;
    bool pendingBlank = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            pendingBlank = !line.empty();
            continue;
        }
        if (pendingBlank && c != ' ' && line.back() != ' ')
            line += ' ';
        pendingBlank = false;
        line += c;
    }
    return line;
}

std::string ErrorLine(const RunResult& result) {
    if (result.end != RunEnd::Failed && result.end != RunEnd::LogFailed)
        return {};
    return "setup: " + std::to_string(result.message) + ": " + OnOneLine(result.messageText);
}
