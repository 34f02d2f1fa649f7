#pragma once

#include <functional>
#include <string>

// Fits a path into `width` of the given measure by dropping leading folders behind the root (its
// first `rootLength` characters): C:\Programme\Host\Basis.dll becomes C:\...\Host\Basis.dll,
// then C:\...\Basis.dll, while it is too wide. Stops when no folder is left to drop.
std::string ShortenPathToWidth(const std::string& path, size_t rootLength, long width,
                               const std::function<long(const std::string&)>& measure);
