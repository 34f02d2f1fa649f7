#include "framework/posix/FrontEnd.h"

#include "framework/posix/TerminalFrontEnd.h"

#include <iostream>
#include <unistd.h>

namespace framework_posix {

namespace {

FrontEnd* g_installed = nullptr;

} // namespace

FrontEnd& CurrentFrontEnd() {
    static const bool typed = isatty(STDIN_FILENO) != 0;
    static TerminalFrontEnd terminal(std::cin, std::cout, !typed, typed ? STDIN_FILENO : -1);
    return g_installed != nullptr ? *g_installed : terminal;
}

FrontEnd* SetFrontEnd(FrontEnd* frontEnd) {
    FrontEnd* previous = g_installed;
    g_installed = frontEnd;
    return previous;
}

} // namespace framework_posix
