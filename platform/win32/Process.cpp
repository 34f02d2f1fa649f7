#include "platform/Process.h"

#include "platform/WindowsHeaders.h"

#include <vector>

namespace platform {

ProcessEnd RunProcess(const std::string& commandLine, bool wait) {
    ProcessEnd end;
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | CREATE_SEPARATE_WOW_VDM, nullptr, nullptr,
                        &startup, &process))
        return end;
    end.started = true;
    DWORD code = 0;
    if (wait && WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.hProcess, &code)) {
        end.exitCodeKnown = true;
        end.exitCode = code;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return end;
}

bool StartProcess(const std::string& commandLine, bool wait) {
    return RunProcess(commandLine, wait).started;
}

} // namespace platform
