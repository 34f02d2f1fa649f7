// A stand-in for the support tool: loads Vasquill.dll as a real library (so its entry runs), takes
// resources from it the way the tool does, creates two of its dialogs and unloads it again.
//
//   vasquill_host <Vasquill.dll> [<TracingLibrary.dll>]  run the checks; exit code 0 when all pass
//   vasquill_host <Vasquill.dll> --show <id>  show dialog <id> in a host window until closed
//
// TracingLibrary.dll is a library of the framework linked like Vasquill.dll whose application
// reports its steps: the start-up constructs it before the library entry runs InitInstance, and
// its exit list destroys it after the entry has run ExitInstance. When its InitInstance fails,
// the load is refused without a message and without ExitInstance, and the object is destroyed
// all the same.
//
// The checks need a display for the dialogs. Nothing here may pop up a message box: a loading
// library that complained would leave a window of class #32770 behind, which is checked for.
#include "platform/WindowsHeaders.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int g_failures = 0;

void Check(bool ok, const char* what, const std::string& detail = std::string()) {
    std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what, detail.empty() ? "" : ": ",
                detail.c_str());
    if (!ok)
        ++g_failures;
}

std::string LoadText(HINSTANCE lib, UINT id) {
    char buffer[1024] = {};
    int length = LoadStringA(lib, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string MenuText(HMENU menu, UINT position) {
    char buffer[256] = {};
    GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

std::string ControlText(HWND dialog, int id) {
    char buffer[256] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHostWindow(int width, int height) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "VasquillHost";
    RegisterClassA(&wc);
    return CreateWindowA("VasquillHost", "Vasquill host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                         0, width, height, nullptr, nullptr, wc.hInstance, nullptr);
}

struct DialogSearch {
    DWORD process;
    int count;
};

BOOL CALLBACK CountDialogWindows(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == search->process && std::strcmp(className, "#32770") == 0)
        ++search->count;
    return TRUE;
}

// Top-level dialog-class windows of this process: our own dialogs are children, so any such
// window is a message box.
int TopLevelDialogs() {
    DialogSearch search = {GetCurrentProcessId(), 0};
    EnumWindows(CountDialogWindows, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

void CheckStrings(HINSTANCE lib) {
    Check(LoadText(lib, 57344) == "Vasquill", "application name 57344", LoadText(lib, 57344));
    Check(LoadText(lib, 128) == "Vasquill", "frame title 128");
    Check(LoadText(lib, 57345) == "Ready", "idle prompt 57345");
    Check(LoadText(lib, 59136) == "ER" && LoadText(lib, 59141) == "MA", "indicator labels");
    std::string fill = LoadText(lib, 61271);
    Check(fill.find('\n') != std::string::npos && fill.find('\n') == fill.rfind('\n') &&
              fill.find("\"not available\"") != std::string::npos,
          "61271 has one line feed and its quotes");
    std::string filter = LoadText(lib, 61511);
    Check(filter.size() > 2 && filter.compare(filter.size() - 2, 2, "||") == 0,
          "61511 ends with two bars", filter);
    Check(LoadText(lib, 61205).empty(), "61205 is not there");
}

void CheckMenuAndKeys(HINSTANCE lib) {
    HMENU menu = LoadMenuA(lib, MAKEINTRESOURCEA(128));
    Check(menu != nullptr, "LoadMenuA 128");
    if (menu) {
        Check(GetMenuItemCount(menu) == 3 && MenuText(menu, 0) == "&File" &&
                  MenuText(menu, 1) == "&Edit" && MenuText(menu, 2) == "&View",
              "menu bar File, Edit, View");
        HMENU file = GetSubMenu(menu, 0);
        HMENU language = file ? GetSubMenu(file, 0) : nullptr;
        Check(language && GetMenuItemCount(language) == 2 &&
                  GetMenuState(language, 32773, MF_BYCOMMAND) == 0 &&
                  GetMenuState(language, 32774, MF_BYCOMMAND) == 0,
              "Language popup: two items, none checked");
        Check(GetMenuState(menu, 57665, MF_BYCOMMAND) == 0, "Exit is enabled");
        DestroyMenu(menu);
    }
    HACCEL keys = LoadAcceleratorsA(lib, MAKEINTRESOURCEA(128));
    Check(keys && CopyAcceleratorTableA(keys, nullptr, 0) == 10, "LoadAcceleratorsA 128");
    HACCEL preview = LoadAcceleratorsA(lib, MAKEINTRESOURCEA(30997));
    Check(preview && CopyAcceleratorTableA(preview, nullptr, 0) == 3, "LoadAcceleratorsA 30997");
}

void CheckHelpPage(HINSTANCE lib) {
    HRSRC page = FindResourceA(lib, MAKEINTRESOURCEA(145), MAKEINTRESOURCEA(23));
    Check(page != nullptr, "FindResourceA 145 type 23");
    if (page) {
        DWORD size = SizeofResource(lib, page);
        const char* text = static_cast<const char*>(LockResource(LoadResource(lib, page)));
        std::string html(text ? text : "", text ? size : 0);
        Check(html.rfind("<!DOCTYPE", 0) == 0 && html.find("src=\"/#2/#148\"") != std::string::npos,
              "help page starts with its doctype and shows /#2/#148");
    }
    // "/#2/#148" is resource type 2 (bitmap), number 148, of this same library.
    Check(FindResourceA(lib, MAKEINTRESOURCEA(148), MAKEINTRESOURCEA(2)) != nullptr,
          "FindResourceA /#2/#148");
    HBITMAP logo = static_cast<HBITMAP>(
        LoadImageA(lib, MAKEINTRESOURCEA(148), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    BITMAP info = {};
    Check(logo && GetObjectA(logo, sizeof info, &info) && info.bmWidth == 32 && info.bmHeight == 32,
          "logo 148 is 32 by 32");
    if (logo)
        DeleteObject(logo);
}

void CheckDialogs(HINSTANCE lib, HWND host) {
    HWND nav = CreateDialogParamA(lib, MAKEINTRESOURCEA(101), host, QuietDialogProc, 0);
    Check(nav != nullptr, "CreateDialogParamA 101");
    if (nav) {
        HWND button = GetDlgItem(nav, 1003);
        LONG style = button ? GetWindowLongA(button, GWL_STYLE) : 0;
        Check((style & BS_PUSHLIKE) && (style & 0xF) == BS_AUTORADIOBUTTON && !(style & WS_TABSTOP),
              "navigation button 1003 is a push-like radio button without tab stop");
        Check(ControlText(nav, 1004) == "VasQuill" && ControlText(nav, 1009) == "FAQs",
              "navigation labels");
        DestroyWindow(nav);
    }
    HWND form = CreateDialogParamA(lib, MAKEINTRESOURCEA(108), host, QuietDialogProc, 0);
    Check(form != nullptr, "CreateDialogParamA 108");
    if (form) {
        char className[64] = {};
        GetClassNameA(GetDlgItem(form, 1038), className, sizeof className);
        Check(std::strcmp(className, "SysListView32") == 0, "contact list is a list view",
              className);
        Check(ControlText(form, 1033) == "3. Enter your support request", "step 3 heading");
        DestroyWindow(form);
    }
}

// The steps the tracing library's application has reported so far, and a fresh start.
std::string TakeSteps() {
    char steps[256] = {};
    DWORD length = GetEnvironmentVariableA("VASQUILL_TEST_STEPS", steps, sizeof steps);
    SetEnvironmentVariableA("VASQUILL_TEST_STEPS", nullptr);
    return std::string(steps, length < sizeof steps ? length : 0);
}

void CheckLifecycle(const char* path) {
    SetEnvironmentVariableA("VASQUILL_TEST_REFUSE", nullptr);
    TakeSteps();
    HINSTANCE lib = LoadLibraryA(path);
    Check(lib != nullptr, "tracing library loads");
    std::string steps = TakeSteps();
    Check(steps == "construct,init", "constructed before InitInstance", steps);
    if (lib)
        FreeLibrary(lib);
    steps = TakeSteps();
    Check(steps == "exit,destroy", "destroyed after ExitInstance on unloading", steps);

    SetEnvironmentVariableA("VASQUILL_TEST_REFUSE", "1");
    lib = LoadLibraryA(path);
    Check(lib == nullptr, "a library whose InitInstance fails is not loaded");
    if (lib)
        FreeLibrary(lib);
    steps = TakeSteps();
    Check(steps == "construct,init,destroy", "refused: no ExitInstance, still destroyed", steps);
    Check(TopLevelDialogs() == 0, "no message box on the refused load");
    SetEnvironmentVariableA("VASQUILL_TEST_REFUSE", nullptr);
}

int ShowDialog(HINSTANCE lib, int id) {
    HWND host = CreateHostWindow(1000, 740);
    HWND dialog = CreateDialogParamA(lib, MAKEINTRESOURCEA(id), host, QuietDialogProc, 0);
    if (!dialog) {
        std::printf("dialog %d could not be created (error %lu)\n", id, GetLastError());
        return 1;
    }
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    if (style & WS_CHILD)
        SetWindowPos(dialog, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // A child page created disabled stays so; the picture shows it as the tool first gets it.
    ShowWindow(host, SW_SHOW);
    ShowWindow(dialog, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vasquill_host <Vasquill.dll> [<TracingLibrary.dll> | "
                             "--show <dialog id>]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);

    HINSTANCE lib = LoadLibraryA(argv[1]);
    if (!lib) {
        std::printf("FAIL LoadLibraryA %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    if (argc >= 4 && std::strcmp(argv[2], "--show") == 0)
        return ShowDialog(lib, std::atoi(argv[3]));

    Check(true, "LoadLibraryA");
    CheckStrings(lib);
    CheckMenuAndKeys(lib);
    CheckHelpPage(lib);
    HWND host = CreateHostWindow(800, 600);
    CheckDialogs(lib, host);
    Check(TopLevelDialogs() == 0, "no message box appeared");
    DestroyWindow(host);
    Check(FreeLibrary(lib) != FALSE, "FreeLibrary");
    Check(TopLevelDialogs() == 0, "no message box on unloading");
    if (argc >= 3)
        CheckLifecycle(argv[2]);
    std::printf("%s\n", g_failures == 0 ? "all checks passed" : "some checks failed");
    return g_failures == 0 ? 0 : 1;
}
