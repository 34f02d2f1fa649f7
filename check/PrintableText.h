// Text for a terminal or a CI log: UTF-8, and nothing in it that a terminal acts on. A package's
// names and values reach the report as written, so a name holding a line end could forge a
// finding or a summary line, and an escape sequence could erase one.
#pragma once

#include "framework/WinDefs.h"

#include <initializer_list>
#include <string>

// 8-bit ANSI text (Windows-1252, as the setup reads SETUP.INF) in UTF-8, every control
// character shown escaped: "\n", "\r", "\t", otherwise "\x" and two hex digits of its byte.
// The C1 controls that Windows-1252 leaves at its five undefined bytes are shown so too.
std::string PrintableText(const std::string& ansi);

// A path as given on the command line, in the system's own narrow encoding (UTF-8 on POSIX,
// the ANSI code page on Windows), with its control characters escaped as PrintableText does.
std::string PrintableArgument(const std::string& argument);

// Message `id` of the check's texts, made printable, with arguments already made printable.
std::string PrintableMessage(UINT id, std::initializer_list<std::string> printableArgs);
