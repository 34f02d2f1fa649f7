// The program entry on POSIX: the same start-up as WinMain, without a module handle.
#include "framework/WinApp.h"

namespace {

// The line as a shell would take it back: arguments with blanks or nothing in them are quoted.
std::string JoinedCommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 0; i < argc; ++i) {
        std::string argument = argv[i];
        if (i > 0)
            line += ' ';
        bool quote = argument.empty() || argument.find_first_of(" \t'\"") != std::string::npos;
        if (!quote) {
            line += argument;
            continue;
        }
        line += '\'';
        for (char c : argument)
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

} // namespace

int main(int argc, char** argv) {
    AfxCommandLine commandLine;
    commandLine.text = JoinedCommandLine(argc, argv);
    for (int i = 1; i < argc; ++i)
        commandLine.arguments.push_back(argv[i]);
    return AfxRunApplication(nullptr, commandLine);
}
