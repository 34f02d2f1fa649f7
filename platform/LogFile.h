// A log file that an administrator names on the command line. The setup runs elevated, and the
// name may lie in a folder that others write to (a shared temporary folder): the log is written
// only into a plain file of its own, never through a link, never into a second name of another
// file, a FIFO or a device. Paths as in Files.h.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class LogFile {
public:
    LogFile() = default;
    ~LogFile() { Close(); }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Creates the file, or empties it when it is a plain file of a single name; false, with
    // nothing changed in an existing file, when it is anything else or cannot be opened for
    // writing. Others may read the log while it is written.
    bool Open(const std::string& path);

    // Writes the bytes at the end; each write reaches the system at once, so a run that is killed
    // leaves its log up to there. false when the file is not open or the write failed.
    bool Append(const std::string& bytes);

    void Close();
    bool IsOpen() const { return m_file != kClosed; }

private:
    // A descriptor on POSIX, a handle on Windows; -1 is "none" for both.
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t m_file = kClosed;
};

// The local time as "2026-12-11 14:06:06", the stamp in front of a log line.
std::string LogTimeStamp();

// The same for a given time, as the system's clock gives its parts.
std::string FormatTimeStamp(int year, int month, int day, int hour, int minute, int second);

} // namespace platform
