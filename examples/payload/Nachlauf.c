/* The follow-up program of the example package: notes its command line in Nachlauf.log beside
   itself, so that a run of the package can be checked. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    char path[MAX_PATH + 16];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    (void)instance;
    (void)previous;
    (void)show;
    if (length == 0 || length >= MAX_PATH)
        return 1;
    while (length > 0 && path[length - 1] != '\\')
        --length;
    lstrcpyA(path + length, "Nachlauf.log");
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, "Nachlauf ", 9, &written, NULL);
    WriteFile(file, commandLine, lstrlenA(commandLine), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
    return 0;
}
