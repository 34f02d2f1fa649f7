// What a front of the setup shows, asks and records. The dialog is one front; the package check's
// dry run, unattended runs and the engine's tests are others. Every text comes with the message
// number and the arguments it was made from, so a front can decide and record without reading
// texts.
#pragma once

#include "setup/engine/CopyEntry.h"

#include <string>
#include <vector>

// A message of the setup's string table as shown: its number (IDS_... of setup/res/resource.h),
// the arguments put into its placeholders, and the finished text. The older-version refusal is
// number IDS_CANNOT_RUN with the package's InfoText as its one argument, and its text is the
// InfoText, a line break and the message.
struct SetupMessage {
    unsigned id = 0;
    std::vector<std::string> args;
    std::string text;
};

// A question before a file on disk is replaced. `id` is IDS_NEWER_EXISTS (the file on disk has
// the higher FileVersion; the values are the two versions) or IDS_LANGUAGE_DIFFERS (the two files
// are of different languages; the values are the two language names).
struct ReplaceQuestion {
    unsigned id = 0;
    std::string source; // the package's file
    std::string target; // the file on disk
    std::string fileName;
    std::string packageValue; // of the source
    std::string diskValue;    // of the target
    std::string text;         // the question as asked
};

// Where the start-up found the host installation.
struct HostRecord {
    std::string dataFolder;    // DataDir of TALMORIX.INI
    std::string programFolder; // below the data folder, ending in a separator
    bool programFolderFound = false;
    std::string windowsFolder;
    std::string systemFolder;
    int osCode = 0; // see OsCode.h
};

// One RequiredVersion of SETUP.INF against the installed file.
enum class VersionOutcome {
    Met,
    OlderAccepted,  // installed older, no InfoText: accepted
    OlderRefused,   // installed older, with an InfoText: the setup ends
    InstalledNewer, // the setup ends
    NotFound,       // no installed version could be read: the setup ends
};
struct VersionCheckRecord {
    int number = 0;       // n of RequiredVersion<n>
    std::string file;     // the installed file looked at (base folder + name)
    std::string required; // the version the package asks for
    std::string installed;
    VersionOutcome outcome = VersionOutcome::Met;
};

// One folder level that did not exist and was to be made.
struct FolderRecord {
    std::string path;
    bool created = false;
};

// What became of one entry of the copy list.
enum class CopyOutcome {
    Copied,          // no file was there
    Replaced,        // an existing file was replaced
    KeptAnsweredNo,  // a replace question was answered No
    SkippedByFilter, // the system filter of its options left it out
    Failed,          // the copy failed; the setup ends
};
struct CopyRecord {
    std::string source;
    std::string target;
    std::string options;
    CopyOutcome outcome = CopyOutcome::Copied;
};

// The run record Update.inf in the host program folder.
enum class RunRecordOutcome {
    Rewritten,
    NoProgramFolder, // the program folder below the data folder was not found: nothing is tried
    Absent,          // no such file: the setup never creates it
    NotWritten,      // there, but it could not or must not be written (link, read-only, ...)
};
struct RunRecordRecord {
    std::string path; // empty with NoProgramFolder
    std::string text; // what it receives: the header as shown
    RunRecordOutcome outcome = RunRecordOutcome::Rewritten;
};

// One EXEFile<n> of SETUP.INF.
struct ProgramRecord {
    int number = 0;
    std::string commandLine;
    bool started = false;
    bool exitCodeKnown = false; // it was awaited and its end was seen
    unsigned long exitCode = 0; // recorded only: the setup's result does not depend on it
};

class SetupView {
public:
    // The header line: the package title behind two blanks, exactly as the run record gets it.
    virtual void ShowHeader(const std::string& header) = 0;

    // The ready state: the introduction, and the install command offered.
    virtual void ShowReady(const SetupMessage& message) = 0;

    // The terminal error state with its message.
    virtual void ShowSetupError(const SetupMessage& message) = 0;

    // The install command has begun: nothing is offered any more, the information line is empty.
    virtual void BeginInstall() = 0;

    // The copy list is ready: the progress bar appears at `position`.
    virtual void ShowProgress(int position) = 0;

    // Moves the progress bar, from 0 to 100.
    virtual void SetProgress(int position) = 0;

    // A text in the information line, in place of the previous one (the file being copied).
    virtual void SetInfoText(const SetupMessage& message) = 0;

    // The path as the information line can show it: leading folders dropped until it fits.
    virtual std::string FitPathToInfoText(const std::string& path) = 0;

    // Asks before a file on disk is replaced; true for Yes.
    virtual bool AskReplace(const ReplaceQuestion& question) = 0;

    // The terminal success state.
    virtual void ShowSuccess(const SetupMessage& message) = 0;

    // What a log or a dry run records; the dialog shows none of it.
    virtual void OnHostFound(const HostRecord&) {}
    virtual void OnVersionChecked(const VersionCheckRecord&) {}
    virtual void OnFolderCreated(const FolderRecord&) {}
    virtual void OnCopyEntry(const CopyRecord&) {}
    virtual void OnRunRecord(const RunRecordRecord&) {}
    virtual void OnProgram(const ProgramRecord&) {}

protected:
    ~SetupView() = default;
};
