// The check writes UTF-8. A Windows console shows its output in the console's own code page, so
// for the run of the check it is switched to UTF-8 and then given back; output to a file or a pipe
// (a CI log) is bytes as written on every system.
#pragma once

class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned m_previousCodePage = 0;
};
