// Handles of files and what the copy and the run record ask of them before they trust a name.
// The setup runs elevated in folders that others may write to: a name is checked through the
// handle it was opened to, never by looking the name up a second time.
#pragma once

#include "platform/WindowsHeaders.h"

#include <string>

namespace platform {

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    void Close() {
        if (valid())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    // Gives the handle away: the caller closes it.
    HANDLE Detach() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE handle_;
};

// Opens a name only to look at it: nothing is read or written, no reparse point is followed,
// and others may go on using the file.
HANDLE OpenToInspect(const std::string& path);

// A file on a disk (no pipe, device or console), not a folder and not a reparse point.
bool IsRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION& info);

// Whether `path` now names the file that `file` is open on (same volume, same file index).
bool NameHoldsFile(const std::string& path, HANDLE file);

// Whether the file of `file` is the entry `path` itself, and not a file that a symbolic link of
// that name leads to: Wine shows no reparse point for a link to a file and opens what it points
// to, but the handle's final path tells where the file really lies.
bool FileLiesAtName(HANDLE file, const std::string& path);

} // namespace platform
