// Everything an installation changes outside itself: folders, files, the run record, programs.
// The setup carries them out on the system; the package check only records them.
#pragma once

#include <string>
#include <vector>

// Whether an installation may start on this system.
enum class StartCheck {
    Ready,        // this setup is the only one; what a killed run left half done is undone
    OtherRunning, // another setup is installing
    NoSafeRecord, // no record of the installation can be kept where only administrators write
};

class InstallActions {
public:
    // Before the start-up looks at the installation: one setup at a time, and the copy pass of a
    // run that was killed put back.
    virtual StartCheck PrepareStart() { return StartCheck::Ready; }

    // Before the installation's first change: from here until CommitInstall or RollBackInstall,
    // every folder created and every file copied can be undone. false when that cannot be kept.
    virtual bool BeginInstall() { return true; }

    // Once, before the first copy: which targets the pass may replace.
    virtual bool BeginCopyPass(const std::vector<std::string>& targets) {
        (void)targets;
        return true;
    }

    // The installation stands as it is now.
    virtual void CommitInstall() {}

    // Everything since BeginInstall is put back as it was.
    virtual void RollBackInstall() {}

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
