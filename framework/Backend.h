// What the common framework code asks of its platform backend (win32/ or posix/). Not for the
// programs: they use the classes and functions of the other framework headers.
#pragma once

#include "framework/WinDefs.h"

#include <string>

namespace framework_backend {

// Makes `hInstance` the module whose resources the framework loads.
void SetModuleInstance(HINSTANCE hInstance);

// String `id` of the module's string table as 8-bit ANSI text; empty when it is not there.
std::string LoadModuleString(UINT id);

// The bytes of resource `id` of type `type` in the module; empty when it is not there.
std::string LoadModuleResource(UINT type, UINT id);

// The platform's modal message box, exactly as given.
int RunMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

} // namespace framework_backend
