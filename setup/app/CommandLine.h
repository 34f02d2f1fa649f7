// The setup's command line: how an administrator's deployment starts it without a person at the
// screen. Without arguments the setup is the dialog alone.
#pragma once

#include <string>
#include <vector>

// Whose conventions a command line and an exit status follow: Windows programs take "/quiet" (or
// "-quiet") and report installer codes; POSIX programs take "--quiet" and report 0, 1 or 2.
enum class Conventions { Windows, Posix };

#ifdef _WIN32
constexpr Conventions kSystemConventions = Conventions::Windows;
#else
constexpr Conventions kSystemConventions = Conventions::Posix;
#endif

enum class RunFront {
    Dialog,  // the dialog as a person uses it
    Passive, // the dialog shows the run, starts it at once, asks nothing and closes at its end
    Quiet,   // no window at all
};

struct SetupOptions {
    bool valid = true;
    std::string wrongArgument; // the first argument that made the line wrong
    // The quiet option appears anywhere in the line, even a wrong one: nothing may then wait for
    // a person, not even the answer to the wrong line.
    bool quietAsked = false;
    RunFront front = RunFront::Dialog;
    // How a replace question is answered when nobody is asked; "no" keeps what is on disk.
    bool answerYes = false;
    std::string logFile; // empty: no log
};

// Reads the arguments that follow the program's name. Option names match without regard to case
// (Windows: "/" or "-" before them; POSIX: "--", a value also as "--log=FILE"). An unknown
// option, a missing or unknown value or any other argument makes the whole line wrong. Of /quiet
// and /passive the last one given counts, as with the other options.
SetupOptions ParseSetupOptions(const std::vector<std::string>& arguments, Conventions conventions);

// The options a wrong command line is answered with, written as `conventions` spells them.
std::string UsageText(const std::string& wrongArgument, Conventions conventions);
