// Putting back what a copy pass changed on Windows, from its record alone: the same steps serve a
// pass that failed and the run that a kill cut short.
#pragma once

#include "platform/PassRecord.h"

#include <vector>

namespace platform {

// Undoes every change of an uncommitted record, and for any record removes the pass's private
// folders with their backups, and its temporaries. Only what the record's identities prove to be
// the pass's own is moved. false when a replaced file could not be put back. `cleaned` tells
// whether every private folder is gone: a backup of a program that still runs cannot be removed
// until it ends.
bool UndoPass(const std::vector<RecordEntry>& entries, bool* cleaned = nullptr);

} // namespace platform
