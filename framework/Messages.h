// The message catalogue: texts of the module's string table, loaded by number and formatted.
#pragma once

#include "framework/WinDefs.h"

#include <initializer_list>
#include <string>
#include <vector>

class CWnd;

// The whole text of string `id` (empty when it is not there), as 8-bit ANSI text.
std::string LoadMessage(UINT id);

// Copies at most the first 255 characters of `tmpl`, replacing each "%" followed by a digit 1..9
// by that argument (inserted as it is) or by "?" when there are fewer arguments; a "%" followed by
// anything else is copied unchanged.
std::string FormatPlaceholders(const std::string& tmpl, std::initializer_list<std::string> args);
std::string FormatPlaceholders(const std::string& tmpl, const std::vector<std::string>& args);

// LoadMessage(id) formatted by FormatPlaceholders.
std::string FormatMessageText(UINT id, std::initializer_list<std::string> args);

// The module's own FileVersion text (version resource 1, its first translation); empty when the
// module carries none.
std::string LoadModuleFileVersion();

// A modal message box captioned with the application title and owned by `owner`. A box of type
// MB_OK, MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL without an icon gets the exclamation icon.
// Returns the button pressed (IDYES, IDNO, IDOK, ...).
int ShowMessageBox(CWnd* owner, const std::string& text, UINT type);
