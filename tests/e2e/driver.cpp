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
//     exitwait         waits for the program to end
#include <windows.h>
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
    std::printf("state.cancel.visible=%d\n", IsWindowVisible(GetDlgItem(g_dialog, IDCANCEL)) ? 1 : 0);
    std::printf("state.progress.visible=%d\n", IsWindowVisible(progress) ? 1 : 0);
    std::printf("state.progress.pos=%d\n", static_cast<int>(SendMessageA(progress, PBM_GETPOS, 0, 0)));
    std::printf("state.warning.visible=%d\n", IsWindowVisible(GetDlgItem(g_dialog, kWarning)) ? 1 : 0);
    std::printf("state.defid=%d\n", HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : 0);
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
        if (_stricmp(cls, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
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
            return TextOf(GetDlgItem(g_dialog, IDCANCEL)) != running || FindDialog(g_dialog) != nullptr;
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
    return result == WAIT_OBJECT_0;
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
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &g_process)) {
        std::printf("error=cannot start %s\n", argv[1]);
        return 1;
    }
    if (!WaitFor([] { return (g_dialog = FindWindowA("#32770", kCaption)) != nullptr &&
                             IsWindowVisible(g_dialog); },
                 60)) {
        std::printf("error=no dialog\n");
        TerminateProcess(g_process.hProcess, 1);
        return 1;
    }
    WaitForInputIdle(g_process.hProcess, 10000);
    Sleep(300);
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
