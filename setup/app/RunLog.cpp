#include "setup/app/RunLog.h"

#include "resources/Codepage.h"

#include <ctime>

namespace {

// "2026-12-11 14:06:06 ": sortable, and what log viewers recognise as a time stamp.
std::string TimeStamp() {
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char stamp[32];
    if (local == nullptr || std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", local) == 0)
        return {};
    return stamp;
}

} // namespace

bool RunLog::Open(const std::string& path) {
    return m_file.Open(path);
}

void RunLog::Line(const std::string& text) {
    if (!m_file.IsOpen())
        return;
    m_file.Append(resources::Cp1252ToUtf8(TimeStamp() + OnOneLine(text)) + "\r\n");
}

void RunLog::Started(const std::string& version, const std::string& commandLine) {
    Line("setup " + version);
    Line("command line: " + commandLine);
}

void RunLog::Finished(const RunResult& result, int exitCode) {
    switch (result.end) {
    case RunEnd::Cancelled:
        Line("result: cancelled before installing");
        break;
    case RunEnd::WrongCommandLine:
        Line("result: wrong command line");
        break;
    default:
        Line("result: " + std::to_string(result.message) + ": " + result.messageText);
        break;
    }
    Line("exit code: " + std::to_string(exitCode));
}
