// Names of the files, sections and keys through which the setup is told what to do.
#pragma once

// SETUP.INF, beside the setup program.
inline const char* const kSetupInfName = "SETUP.INF";
inline const char* const kInstallationSection = "Installation";
inline const char* const kTitleKey = "Bezeichnung";
inline const char* const kRequiredVersionKey = "RequiredVersion"; // numbered from 1
inline const char* const kInfoTextKey = "InfoText";               // numbered like RequiredVersion
inline const char* const kProgramKey = "EXEFile";                 // numbered from 1
inline const char* const kBlockSection = "Block";                 // numbered from 1
inline const char* const kBlockSectionKey = "Section";
inline const char* const kBlockPathKey = "Pfad";
inline const char* const kBlockSubdirKey = "Subdir";
inline const char* const kBlockFileKey = "File"; // numbered from 1

// The host's configuration file, found by its bare name in the Windows directory.
inline const char* const kHostIniName = "TALMORIX.INI";
inline const char* const kDirectoriesSection = "GENERAL-Directories";
inline const char* const kDataDirKey = "DataDir";
inline const char* const kProgDirKey = "ProgDir";

// Below the data folder.
inline const char* const kProgramSubfolder = "Client\\program\\";
inline const char* const kRunRecordName = "Update.inf";
