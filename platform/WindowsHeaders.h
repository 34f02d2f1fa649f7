// <windows.h> as the Windows backends include it: lean, and without the min/max macros. Only
// backend sources and the framework's type header include it; no function of ours is named like
// a Win32 function that its A/W macros would rename.
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
