#pragma once

#include <string>

class CWnd;

// Fits a path into the width of a window by dropping leading folders behind the root:
// C:\Programme\Host\Client\program\Basis.dll becomes C:\...\Host\Client\program\Basis.dll, then
// C:\...\Client\program\Basis.dll, and so on while it is too wide (see ShortenPathToWidth). The
// result is the path as the user's system writes it (platform::DisplayPath): on POSIX
// /srv/Daten\Client\program\Basis.dll may become /.../program/Basis.dll.
void ShortenPathToFit(CWnd* window, const std::string& path, std::string& out);
