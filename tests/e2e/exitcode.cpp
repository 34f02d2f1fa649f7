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
    DWORD process = 0;
    std::set<HWND> windows;
    std::set<std::string> texts; // caption and message-box text, as printed
};

Seen g_seen;

void Note(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != g_seen.process || GetAncestor(window, GA_ROOT) != window || !IsWindowVisible(window))
        return;
    g_seen.windows.insert(window);
    char caption[256] = {};
    char text[4096] = {};
    GetWindowTextA(window, caption, sizeof caption);
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text); // a message box's text
    g_seen.texts.insert(Hex(caption) + " " + Hex(text));
}

BOOL CALLBACK NoteWindow(HWND window, LPARAM) {
    Note(window);
    return TRUE;
}

// A window that comes and goes between two looks (a passive run of a few milliseconds) is still
// seen: the system reports each window shown.
void CALLBACK WindowShown(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_WINDOW && window != nullptr && IsWindow(window))
        Note(window);
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
    // Suspended until the hook is in place, so that not even its first window escapes it.
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &process)) {
        std::printf("error=cannot start %s (%lu)\n", commandLine.c_str(), GetLastError());
        return 1;
    }

    g_seen.process = process.dwProcessId;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, WindowShown,
                                         process.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    ResumeThread(process.hThread);
    DWORD started = GetTickCount();
    DWORD state = WAIT_TIMEOUT;
    while (GetTickCount() - started < limit) {
        state = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        if (state == WAIT_OBJECT_0)
            break;
        state = WAIT_TIMEOUT;
        EnumWindows(NoteWindow, 0);
    }
    if (hook != nullptr)
        UnhookWinEvent(hook);
    std::printf("windows=%u\n", static_cast<unsigned>(g_seen.windows.size()));
    for (const std::string& seenText : g_seen.texts)
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
