// Paths as the user reads them. The setup builds its paths the Windows way, folder + "\" + name,
// on every target; what it shows of them is the system's own spelling.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The path as the user's system writes it: on Windows as it is, on POSIX with "/" for every
// "\", so "/srv/Daten\Client\program\Basis.dll" reads "/srv/Daten/Client/program/Basis.dll".
std::string DisplayPath(const std::string& path);

// How many leading characters of a shown path are its root, the part that stays when leading
// folders are dropped: the drive part "C:\" on Windows, the "/" of an absolute POSIX path (none
// for a relative one).
size_t DisplayRootLength(const std::string& displayPath);

} // namespace platform
