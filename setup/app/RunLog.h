// The log an administrator asks for with /log: one line per event of the run, in UTF-8, each with
// the local time in front, written as it happens. The setup's texts are code page 1252 inside;
// the log converts them.
#pragma once

#include "platform/LogFile.h"
#include "setup/app/ExitCode.h"

#include <string>

class RunLog {
public:
    // Creates or empties the file; false when it cannot be written (see platform::LogFile).
    bool Open(const std::string& path);
    bool IsOpen() const { return m_file.IsOpen(); }

    // One line of 8-bit text; line breaks inside it become blanks. Nothing without a file.
    void Line(const std::string& text);

    // The first lines: which setup, started how.
    void Started(const std::string& version, const std::string& commandLine);

    // The last lines: how the run ended and the exit code that says so.
    void Finished(const RunResult& result, int exitCode);

private:
    platform::LogFile m_file;
};
