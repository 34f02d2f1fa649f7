// Starts a program under Wine and reports how it ended, for the end-to-end runs of unattended
// setups: Wine's own exit status keeps only the low 8 bits of a Windows exit code, and a
// deployment that waits for a window nobody answers must fail, not hang.
//
//   exitcode <seconds> <program> [argument...]
//
// Starts the program with the arguments (quoted by the Windows rules), waits at most <seconds>,
// and prints
//   windows=<n>       how many visible top-level windows of the program were seen while it ran
//   window=<caption> <text>
//                     each of them: its caption and, for a message box, its text, both as hex of
//                     their bytes (code page 1252)
//   exit=<code>       the full exit code from GetExitCodeProcess, or "timeout" (the program is
//                     then ended)
// Its own exit code is 0 when it could start the program, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

// One argument as CommandLineToArgv and the C runtime read it back: quoted when it holds blanks
// or quotes, backslashes doubled only where a quote follows them.
std::string Quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

std::string Hex(const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

struct Seen {
    DWORD process;
    std::set<HWND> windows;
};

BOOL CALLBACK NoteWindow(HWND window, LPARAM param) {
    Seen* seen = reinterpret_cast<Seen*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == seen->process && IsWindowVisible(window))
        seen->windows.insert(window);
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: exitcode <seconds> <program> [argument...]\n");
        return 1;
    }
    DWORD limit = static_cast<DWORD>(std::atoi(argv[1])) * 1000;
    std::string commandLine = Quoted(argv[2]);
    for (int i = 3; i < argc; ++i)
        commandLine += " " + Quoted(argv[i]);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("error=cannot start %s (%lu)\n", commandLine.c_str(), GetLastError());
        return 1;
    }

    // Windows are looked for while the program runs; a dialog stays up far longer than a round.
    Seen seen = {process.dwProcessId, {}};
    std::set<std::string> seenTexts;
    DWORD waited = 0;
    DWORD state = WAIT_TIMEOUT;
    while (waited < limit && (state = WaitForSingleObject(process.hProcess, 20)) == WAIT_TIMEOUT) {
        waited += 20;
        EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&seen));
        for (HWND window : seen.windows) {
            char caption[256] = {};
            char text[4096] = {};
            GetWindowTextA(window, caption, sizeof caption);
            GetDlgItemTextA(window, 0xFFFF, text, sizeof text); // a message box's text
            seenTexts.insert(Hex(caption) + " " + Hex(text));
        }
    }
    std::printf("windows=%u\n", static_cast<unsigned>(seen.windows.size()));
    for (const std::string& seenText : seenTexts)
        std::printf("window=%s\n", seenText.c_str());
    if (state == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
        std::printf("exit=timeout\n");
    } else {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        std::printf("exit=%lu\n", code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
