#include "check/Console.h"

#ifdef _WIN32
#include "platform/WindowsHeaders.h"

Utf8Console::Utf8Console() {
    DWORD mode;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
        GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) {
        m_previousCodePage = GetConsoleOutputCP();
        SetConsoleOutputCP(CP_UTF8);
    }
}

Utf8Console::~Utf8Console() {
    if (m_previousCodePage != 0)
        SetConsoleOutputCP(m_previousCodePage);
}
#else
Utf8Console::Utf8Console() {}
Utf8Console::~Utf8Console() {}
#endif
