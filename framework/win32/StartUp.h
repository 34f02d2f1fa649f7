// What a Windows program of ours settles for its process before anything else runs. Functions
// that older systems lack are looked up at run time, so that the program still starts there; each
// returns whether the system had it.
#pragma once

namespace framework_win32 {

// Keeps the loader out of the program's own folder (a download folder, for a setup) when it looks
// for DLLs.
bool RestrictDllSearchToSystem();

// The setup's dialog runs a whole installation inside one command and takes no messages while it
// copies or waits for a follow-up program. After five seconds of that, Windows would replace it
// with a "not responding" ghost window that offers to end the elevated setup midway; the dialog
// stays itself instead.
bool DisableWindowGhosting();

} // namespace framework_win32
