// What the pass record needs of files and folders on Windows: identities, and renames and
// removals through a handle, so that the file acted on is the one that was looked at.
#pragma once

#include "platform/PassRecord.h"
#include "platform/WindowsHeaders.h"

#include <string>

namespace platform {

// Opens a file or folder without following a reparse point, for `access` and nothing else; others
// may go on using it.
HANDLE OpenEntry(const std::string& path, DWORD access);

// Volume serial number and file index; false when the handle cannot tell.
bool IdentityOfHandle(HANDLE handle, FileIdentity& id, DWORD* attributes = nullptr);

// Gives the file of `handle` (opened with DELETE) the name `path`.
bool RenameHandle(HANDLE handle, const std::string& path, bool replace);

// Removes the file or empty folder of `handle` (opened with DELETE) when the handle is closed;
// a read-only file loses that attribute first.
bool DeleteHandle(HANDLE handle);

// A new folder that only Administrators and SYSTEM may open, whatever its parent allows.
bool CreatePrivateFolder(const std::string& path);

// Whether the folder of `handle` is one only administrators can change: owned by Administrators,
// SYSTEM or this (elevated) user, and no one else granted a right that changes it or its content.
bool OnlyAdministratorsMayChange(HANDLE folder);

} // namespace platform
