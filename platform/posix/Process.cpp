#include "platform/Process.h"

#include "platform/posix/CommandLine.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace platform {

namespace {

// The program starts as from a fresh shell: no signals blocked or ignored that the setup's
// terminal handling may have set for itself.
class SpawnAttributes {
public:
    SpawnAttributes() {
        ::posix_spawnattr_init(&m_attributes);
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&m_attributes, &none);
        ::posix_spawnattr_setsigdefault(&m_attributes, &all);
        ::posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { ::posix_spawnattr_destroy(&m_attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    const posix_spawnattr_t* get() const { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
};

} // namespace

// posix_spawn reports a program that cannot be executed as its own failure (the C library waits
// for the exec), so "started" means the new program is running.
ProcessEnd RunProcess(const std::string& commandLine, bool wait) {
    ProcessEnd end;
    ProgramCall call = FindCommandProgram(commandLine);
    if (call.program.empty())
        return end;

    std::vector<char*> argv;
    for (std::string& argument : call.arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    SpawnAttributes attributes;
    pid_t pid = 0;
    if (::posix_spawn(&pid, call.program.c_str(), nullptr, attributes.get(), argv.data(),
                      environ) != 0)
        return end;
    end.started = true;
    if (wait) {
        int status = 0;
        pid_t ended = 0;
        while ((ended = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        if (ended == pid && (WIFEXITED(status) || WIFSIGNALED(status))) {
            end.exitCodeKnown = true;
            end.exitCode = WIFEXITED(status) ? static_cast<unsigned long>(WEXITSTATUS(status))
                                             : 128ul + static_cast<unsigned long>(WTERMSIG(status));
        }
    }
    return end;
}

bool StartProcess(const std::string& commandLine, bool wait) {
    return RunProcess(commandLine, wait).started;
}

} // namespace platform
