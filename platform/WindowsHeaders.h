// <windows.h> as the Windows backends include it: lean, and without the min/max macros. The
// backend sources and the framework's type header (framework/WinDefs.h) include it, so it also
// reaches every file that includes a header built on that one, and not others. That is why no name
// in the headers of the platform, the setup's config and its engine is one that the A/W macros
// rename (CopyFile to CopyFileA): the Windows build checks it (cmake/CheckWindowsNames.cmake). The
// framework's window classes keep the names of the calls they wrap (CWnd::SetWindowText); those
// are renamed alike everywhere, since every framework header includes this one.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
