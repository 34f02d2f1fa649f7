// The POSIX side of the pass record that Files.cpp needs.
#pragma once

#include <string>

namespace platform {

// Makes one folder level; within a pass the record says so before and after, so that a rollback
// removes it again.
// `parent` is the folder above, opened; `posixPath` the new folder's whole path.
bool MakeFolderRecorded(int parent, const std::string& name, const std::string& posixPath);

} // namespace platform
