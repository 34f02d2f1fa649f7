// Putting back what a copy pass changed, from its record alone: the same steps serve a pass that
// failed and the run that a kill cut short.
#pragma once

#include "platform/PassRecord.h"

#include <vector>

namespace platform {

// A target folder and its private folder as the running pass holds them open (-1: not open).
struct OpenPassFolder {
    int folder = -1;
    int privateFolder = -1;
};

// Undoes every change of an uncommitted record, and for any record removes the pass's private
// folders with their backups and temporaries. Only what the record's identities prove to be the
// pass's own is touched. `open` holds the running pass's folders, by their record index; a start
// after a kill has none. false when a replaced file could not be put back.
bool UndoPass(const std::vector<RecordEntry>& entries,
              const std::vector<OpenPassFolder>& open = {});

} // namespace platform
