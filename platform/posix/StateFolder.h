// Where the setup keeps what must outlive a killed run: the record of a copy pass and the lock
// that lets one installation run at a time.
#pragma once

#include "platform/PassRecord.h"

#include <string>
#include <sys/stat.h>

namespace platform {

// $QUARNEL_STATEDIR, or /var/lib/quarnel-setup; made (mode 0700) when absent. -1 when it is a
// link, no folder, owned by anyone but this user or root, or writable by group or others: a
// record in such a folder could be anyone's.
int OpenStateFolder();

// Whether a file or folder is one only this user (or root) could have made and may change.
bool OnlyOursToChange(const struct stat& st);

FileIdentity IdentityOf(const struct stat& st);

// The record's and the lock's names inside the state folder.
extern const char kRecordName[];
extern const char kLockName[];

} // namespace platform
