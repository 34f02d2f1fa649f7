#include "platform/posix/CommandLine.h"

#include "platform/SystemInfo.h"
#include "platform/posix/Paths.h"

#include <cstdlib>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The program name: up to the closing quote when it starts with one, else to the first blank.
size_t TakeProgramName(const std::string& line, size_t at, std::vector<std::string>& arguments) {
    std::string name;
    if (at < line.size() && line[at] == '"') {
        size_t close = line.find('"', at + 1);
        size_t end = close == std::string::npos ? line.size() : close;
        name = line.substr(at + 1, end - at - 1);
        at = close == std::string::npos ? end : close + 1;
    } else {
        size_t end = at;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        name = line.substr(at, end - at);
        at = end;
    }
    arguments.push_back(name);
    return at;
}

void TakeArguments(const std::string& line, size_t at, std::vector<std::string>& arguments) {
    std::string argument;
    bool inArgument = false;
    size_t backslashes = 0;
    int quotes = 0; // 1 inside a quoted part
    while (at < line.size()) {
        char c = line[at];
        if (IsBlank(c) && quotes == 0) {
            if (inArgument)
                arguments.push_back(argument);
            argument.clear();
            inArgument = false;
            backslashes = 0;
            ++at;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            argument += c;
            ++backslashes;
            ++at;
            continue;
        }
        if (c != '"') {
            argument += c;
            backslashes = 0;
            ++at;
            continue;
        }
        // Half the backslashes stay; an odd one out makes the quote literal.
        argument.resize(argument.size() - (backslashes + 1) / 2);
        if (backslashes % 2 == 1)
            argument += '"';
        else
            ++quotes;
        backslashes = 0;
        ++at;
        while (at < line.size() && line[at] == '"') {
            if (++quotes == 3) {
                argument += '"';
                quotes = 0;
            }
            ++at;
        }
        if (quotes == 2)
            quotes = 0;
    }
    if (inArgument)
        arguments.push_back(argument);
}

bool IsProgram(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> NameVariants(const std::string& name) {
    std::vector<std::string> variants{name};
    std::string last = LastComponent(name);
    if (last.find('.') == std::string::npos)
        variants.push_back(name + ".exe");
    else if (last.size() > 4 && ::strcasecmp(last.c_str() + last.size() - 4, ".exe") == 0)
        variants.push_back(name.substr(0, name.size() - 4));
    return variants;
}

std::vector<std::string> SearchFolders() {
    std::vector<std::string> folders;
    std::string own = FolderOf(ToPosixPath(ModuleFilePath()));
    if (!own.empty())
        folders.push_back(own);
    const char* path = std::getenv("PATH");
    std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    for (;;) {
        size_t colon = list.find(':', start);
        std::string folder = list.substr(start, colon == std::string::npos ? colon : colon - start);
        folders.push_back(folder.empty() ? "." : folder);
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return folders;
}

// A full path, or one that starts from the current folder on purpose (".\Nach", "..\Nach"), is
// the program as written. Any other name, also one with a folder ("Tools\Nach"), is looked for
// along the search folders as Windows looks for it, the setup's own folder first: the current
// folder, which any user may have prepared, never comes before the package.
bool NamesItsOwnPlace(const std::string& posixName) {
    return posixName[0] == '/' || posixName.compare(0, 2, "./") == 0 ||
           posixName.compare(0, 3, "../") == 0;
}

size_t SkipBlanks(const std::string& line, size_t at) {
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    return at;
}

// The unquoted program name: each blank that ends a word ends a prefix to try, and the whole
// line is the last one. Where no prefix names a program, the line names none.
ProgramCall FindUnquotedProgram(const std::string& line, size_t start) {
    ProgramCall call;
    for (size_t end = start; end <= line.size(); ++end) {
        if (end < line.size() && !(IsBlank(line[end]) && !IsBlank(line[end - 1])))
            continue;
        std::string name = line.substr(start, end - start);
        call.program = FindProgram(name);
        if (!call.program.empty()) {
            call.arguments.push_back(name);
            TakeArguments(line, end, call.arguments);
            return call;
        }
    }
    return call;
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    size_t at = SkipBlanks(commandLine, 0);
    if (at == commandLine.size())
        return arguments;
    at = TakeProgramName(commandLine, at, arguments);
    TakeArguments(commandLine, at, arguments);
    return arguments;
}

ProgramCall FindCommandProgram(const std::string& commandLine) {
    size_t at = SkipBlanks(commandLine, 0);
    if (at == commandLine.size())
        return ProgramCall();
    // A quote that never closes quotes nothing: the name is then tried word by word, quote and all.
    if (commandLine[at] != '"' || commandLine.find('"', at + 1) == std::string::npos)
        return FindUnquotedProgram(commandLine, at);
    ProgramCall call;
    at = TakeProgramName(commandLine, at, call.arguments);
    call.program = FindProgram(call.arguments.front());
    if (call.program.empty())
        return ProgramCall();
    TakeArguments(commandLine, at, call.arguments);
    return call;
}

std::string FindProgram(const std::string& name) {
    if (name.empty())
        return "";
    std::string posix = ToPosixPath(name);
    std::vector<std::string> variants = NameVariants(posix);
    if (NamesItsOwnPlace(posix)) {
        for (const std::string& variant : variants)
            if (IsProgram(variant))
                return variant;
        return "";
    }
    for (const std::string& folder : SearchFolders())
        for (const std::string& variant : variants) {
            std::string candidate = (folder == "/" ? "" : folder) + "/" + variant;
            if (IsProgram(candidate))
                return candidate;
        }
    return "";
}

} // namespace platform
