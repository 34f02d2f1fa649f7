#include "setup/app/RunLog.h"

#include "resources/Codepage.h"

bool RunLog::Open(const std::string& path) {
    return m_file.Open(path);
}

void RunLog::Line(const std::string& text) {
    if (!m_file.IsOpen())
        return;
    m_file.Append(resources::Cp1252ToUtf8(platform::LogTimeStamp() + " " + OnOneLine(text)) +
                  "\r\n");
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
