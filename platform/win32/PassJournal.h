// The Windows side of the pass record that the copy and the folder creation call. Outside a pass
// each of them only does its plain part.
#pragma once

#include "platform/WindowsHeaders.h"

#include <string>

namespace platform {

// Before a copy creates its temporary `temporary` in `folder`: the record learns the name, so
// that the next start removes it after a kill.
bool RecordTemporary(const std::string& folder, const std::string& temporary);

// Just before `copy` takes the name `name` in `folder`: what lies there now is renamed, through a
// handle, into the pass's private folder beside it, and the record learns both. A file that
// another program holds open without delete sharing cannot be moved: false, and the copy fails.
bool KeepReplacedFile(const std::string& folder, const std::string& name, HANDLE copy);

// Makes the folder `path`; within a pass the record says so before and after.
bool CreateFolderRecorded(const std::string& path);

} // namespace platform
