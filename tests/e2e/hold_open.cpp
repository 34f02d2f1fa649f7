// Holds a file open the way a program that uses it may: without sharing it with anyone, until
// its standard input ends.
//
//   hold_open <file>   prints "held" once the file is open (or "error=..." and ends)
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hold_open <file>\n");
        return 2;
    }
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("error=cannot open %s (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    char buffer[64];
    DWORD got = 0;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    CloseHandle(file);
    return 0;
}
