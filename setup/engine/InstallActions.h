// Everything an installation changes outside itself: folders, files, the run record, programs.
// The setup carries them out on the system; the package check and the engine's tests only record
// them. No member is named like a Win32 function, so <windows.h> renames none of them.
#pragma once

#include "setup/engine/CopyEntry.h"

#include <string>

// What became of a follow-up program.
struct ProgramResult {
    bool started = false;
    bool exitCodeKnown = false; // awaited to its end and its code read
    unsigned long exitCode = 0;
};

class InstallActions {
public:
    // Creates one folder level; false when it cannot be created.
    virtual bool CreateFolder(const std::string& path) = 0;

    // The copy pass over `list` begins; every CopyPayloadFile of the pass comes between this and
    // EndCopyPass.
    virtual void BeginCopyPass(const CCopyList& /*list*/) {}

    // Copies a payload file over its target in one step; false when the copy failed.
    virtual bool CopyPayloadFile(const std::string& source, const std::string& target) = 0;

    // Ends a copy pass, successful or not: nothing the copies kept ready beside their targets
    // stays behind. `succeeded` is false when a copy failed and the setup ends in its error.
    virtual void EndCopyPass(bool /*succeeded*/) {}

    // Rewrites an existing run record with `text`; never creates one. false when nothing was
    // written (no such file, or one that must not be written).
    virtual bool RewriteRunRecord(const std::string& path, const std::string& text) = 0;

    // Starts a follow-up program and waits for its end.
    virtual ProgramResult RunProgram(const std::string& commandLine) = 0;

protected:
    ~InstallActions() = default;
};

// The actions carried out on this system.
InstallActions& SystemActions();
