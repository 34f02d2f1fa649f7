// Drives setup.exe under Wine the way a person would: starts it, finds its dialog, reads the
// controls, presses keys and buttons, answers its message boxes. Each action prints what it saw
// as "name=value" lines; texts are printed as hex of their bytes (code page 1252).
//
//   e2e_driver <setup.exe> action...
//     state            the dialog's controls
//     click:<id>       a click on button <id> (WM_COMMAND from the button)
//     key:enter|escape the key pressed in the dialog (through the dialog manager)
//     command:<id>     WM_COMMAND <id> posted to the dialog, as a stray command would arrive
//     answer:yes|no    waits for a message box, prints it, presses the button
//     waitend          waits until an installation has ended or a message box is up
//     exitwait         waits for the program to end; prints its full exit code once it has
//     freeze, thaw     suspends and resumes the setup's thread, so that input queues up for it
//     input:enter|escape, input:click:<id>
//                      a key or a left click on button <id> as hardware input (SendInput), which
//                      waits in the setup's queue while it is busy, as a person's would
//     sleep:<ms>       waits
//     minimise         minimises the dialog
//     shot:<name>      prints "shot=<name> left top right bottom" (the dialog and any message box
//                      of the setup) and waits until the file <name>.taken exists, while the
//                      runner takes the picture
//
//   e2e_driver sleep <ms>   does nothing for that long: a slow follow-up program
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kCaption = "Quarnel ZTR Setup";
constexpr int kHeader = 1005, kInfo = 1007, kWarning = 1009, kProgress = 1003;

PROCESS_INFORMATION g_process;
HWND g_dialog;

std::string Hex(const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string TextOf(HWND window) {
    char buffer[4096] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

struct Search {
    HWND exclude;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (window != search->exclude && std::strcmp(cls, "#32770") == 0 && IsWindowVisible(window) &&
        ProcessOf(window) == g_process.dwProcessId) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A top-level dialog of the setup's process other than `exclude`.
HWND FindDialog(HWND exclude) {
    Search search = {exclude, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <typename Condition> bool WaitFor(Condition condition, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (condition())
            return true;
        Sleep(50);
    }
    return false;
}

void PrintState() {
    if (!IsWindow(g_dialog)) {
        std::printf("error=the dialog has closed\n");
        return;
    }
    HWND install = GetDlgItem(g_dialog, IDOK);
    HWND progress = GetDlgItem(g_dialog, kProgress);
    DWORD defId = static_cast<DWORD>(SendMessageA(g_dialog, DM_GETDEFID, 0, 0));
    std::printf("state.header=%s\n", Hex(TextOf(GetDlgItem(g_dialog, kHeader))).c_str());
    std::printf("state.info=%s\n", Hex(TextOf(GetDlgItem(g_dialog, kInfo))).c_str());
    std::printf("state.caption=%s\n", Hex(TextOf(g_dialog)).c_str());
    std::printf("state.install.visible=%d\n", IsWindowVisible(install) ? 1 : 0);
    std::printf("state.install.text=%s\n", Hex(TextOf(install)).c_str());
    std::printf("state.cancel.text=%s\n", Hex(TextOf(GetDlgItem(g_dialog, IDCANCEL))).c_str());
    std::printf("state.cancel.visible=%d\n",
                IsWindowVisible(GetDlgItem(g_dialog, IDCANCEL)) ? 1 : 0);
    std::printf("state.progress.visible=%d\n", IsWindowVisible(progress) ? 1 : 0);
    std::printf("state.progress.pos=%d\n",
                static_cast<int>(SendMessageA(progress, PBM_GETPOS, 0, 0)));
    std::printf("state.warning.visible=%d\n",
                IsWindowVisible(GetDlgItem(g_dialog, kWarning)) ? 1 : 0);
    std::printf("state.defid=%d\n", HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : 0);
    // The push button drawn as the default one: the one Enter presses, also where the dialog
    // manager moved the default there for a while (the focus on a push button).
    HWND cancel = GetDlgItem(g_dialog, IDCANCEL);
    std::printf("state.cancel.default=%d\n",
                (GetWindowLongA(cancel, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 1 : 0);
}

// Keys go to the focused control, where the dialog manager of the setup's loop sees them.
void PressKey(UINT key) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = g_dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(g_dialog, nullptr), &info) && info.hwndFocus)
        target = info.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

bool HasIconStatic(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (_stricmp(cls, "Static") == 0 &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return true;
    }
    return false;
}

bool Answer(bool yes) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindDialog(g_dialog)) != nullptr; }, 60)) {
        std::printf("box=none\n");
        return false;
    }
    Sleep(200);
    int defId = 0;
    for (int id : {IDYES, IDNO})
        if (GetWindowLongA(GetDlgItem(box, id), GWL_STYLE) & BS_DEFPUSHBUTTON)
            defId = id;
    std::printf("box.caption=%s\n", Hex(TextOf(box)).c_str());
    std::printf("box.text=%s\n", Hex(TextOf(GetDlgItem(box, 0xFFFF))).c_str());
    std::printf("box.icon=%d\n", HasIconStatic(box) ? 1 : 0);
    std::printf("box.yesno=%d\n", GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) ? 1 : 0);
    std::printf("box.defid=%d\n", defId);
    std::printf("box.owner=%d\n", GetWindow(box, GW_OWNER) == g_dialog ? 1 : 0);
    int id = yes ? IDYES : IDNO;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    WaitFor([&] { return !IsWindow(box); }, 10);
    return true;
}

bool WaitEnd() {
    std::string running = TextOf(GetDlgItem(g_dialog, IDCANCEL));
    bool ended = WaitFor(
        [&] {
            return TextOf(GetDlgItem(g_dialog, IDCANCEL)) != running ||
                   FindDialog(g_dialog) != nullptr;
        },
        120);
    std::printf("waitend=%s\n", !ended ? "timeout" : FindDialog(g_dialog) ? "box" : "done");
    return ended;
}

bool ExitWait() {
    DWORD result = WaitForSingleObject(g_process.hProcess, 30000);
    DWORD code = 0;
    GetExitCodeProcess(g_process.hProcess, &code);
    std::printf("exit=%s\n", result == WAIT_OBJECT_0 ? "ended" : "running");
    if (result == WAIT_OBJECT_0)
        std::printf("exitcode=%lu\n", code);
    return result == WAIT_OBJECT_0;
}

void SendKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void SendClick(int id) {
    RECT button;
    GetWindowRect(GetDlgItem(g_dialog, id), &button);
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT input[3] = {};
    for (INPUT& one : input) {
        one.type = INPUT_MOUSE;
        one.mi.dx = (button.left + button.right) / 2 * 65535 / width;
        one.mi.dy = (button.top + button.bottom) / 2 * 65535 / height;
        one.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    input[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

bool Shot(const std::string& name) {
    RECT area;
    GetWindowRect(g_dialog, &area);
    if (HWND box = FindDialog(g_dialog)) {
        RECT boxRect;
        GetWindowRect(box, &boxRect);
        UnionRect(&area, &area, &boxRect);
    }
    std::printf("shot=%s %ld %ld %ld %ld\n", name.c_str(), area.left, area.top, area.right,
                area.bottom);
    std::fflush(stdout);
    std::string taken = name + ".taken";
    return WaitFor([&] { return GetFileAttributesA(taken.c_str()) != INVALID_FILE_ATTRIBUTES; },
                   30);
}

bool Run(const std::string& action) {
    if (action == "state") {
        PrintState();
    } else if (action.rfind("click:", 0) == 0) {
        int id = std::atoi(action.c_str() + 6);
        PostMessageA(g_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(g_dialog, id)));
    } else if (action.rfind("command:", 0) == 0) {
        PostMessageA(g_dialog, WM_COMMAND, MAKEWPARAM(std::atoi(action.c_str() + 8), 0), 0);
    } else if (action == "key:enter") {
        PressKey(VK_RETURN);
    } else if (action == "key:escape") {
        PressKey(VK_ESCAPE);
    } else if (action == "answer:yes" || action == "answer:no") {
        return Answer(action == "answer:yes");
    } else if (action == "waitend") {
        return WaitEnd();
    } else if (action == "exitwait") {
        return ExitWait();
    } else if (action == "freeze") {
        SuspendThread(g_process.hThread);
    } else if (action == "thaw") {
        ResumeThread(g_process.hThread);
    } else if (action == "input:enter") {
        SendKey(VK_RETURN);
    } else if (action == "input:escape") {
        SendKey(VK_ESCAPE);
    } else if (action.rfind("input:click:", 0) == 0) {
        SendClick(std::atoi(action.c_str() + 12));
    } else if (action.rfind("sleep:", 0) == 0) {
        Sleep(static_cast<DWORD>(std::atoi(action.c_str() + 6)));
    } else if (action.rfind("shot:", 0) == 0) {
        return Shot(action.substr(5));
    } else if (action == "minimise") {
        ShowWindowAsync(g_dialog, SW_MINIMIZE);
    } else if (action == "settle") {
        Sleep(500);
    } else {
        std::printf("error=unknown action %s\n", action.c_str());
        return false;
    }
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e_driver <setup.exe> action...\n");
        return 2;
    }
    if (argc == 3 && std::strcmp(argv[1], "sleep") == 0) {
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        return 0;
    }
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &g_process)) {
        std::printf("error=cannot start %s\n", argv[1]);
        return 1;
    }
    // The dialog of the setup started here: another setup may be showing one of the same caption.
    if (!WaitFor(
            [] {
                g_dialog = FindDialog(nullptr);
                return g_dialog != nullptr && TextOf(g_dialog) == kCaption;
            },
            60)) {
        std::printf("error=no dialog\n");
        TerminateProcess(g_process.hProcess, 1);
        return 1;
    }
    WaitForInputIdle(g_process.hProcess, 10000);
    Sleep(300);
    // Keys sent as hardware input go to the foreground window.
    SetForegroundWindow(g_dialog);
    int status = 0;
    for (int i = 2; i < argc && status == 0; ++i) {
        if (!Run(argv[i]))
            status = 1;
        std::fflush(stdout);
    }
    if (WaitForSingleObject(g_process.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(g_process.hProcess, 0);
    return status;
}
