// Everything an installation changes outside itself: folders, files, the run record, programs.
// The setup carries them out on the system; the package check only records them.
#pragma once

#include <string>

class InstallActions {
public:
    // Creates one folder level; false when it cannot be created.
    virtual bool CreateFolder(const std::string& path) = 0;

    // Copies a payload file over its target in one step; false when the copy failed.
    virtual bool CopyFile(const std::string& source, const std::string& target) = 0;

    // Ends a copy pass, successful or not: nothing the copies kept ready beside their targets
    // stays behind.
    virtual void FinishCopies() {}

    // Rewrites an existing run record with `text`; never creates one, reports nothing.
    virtual void RewriteRunRecord(const std::string& path, const std::string& text) = 0;

    // Starts a follow-up program and waits for its end; false when it could not be started.
    virtual bool RunProgram(const std::string& commandLine) = 0;

protected:
    ~InstallActions() = default;
};

// The actions carried out on this system.
InstallActions& SystemActions();
