// <windows.h> as every part of the programs includes it. Its A/W macros rename some of our own
// declarations (GetModuleFileName -> GetModuleFileNameA, ...); including it the same way before
// them keeps declarations, definitions and calls consistent.
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
