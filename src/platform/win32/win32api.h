#pragma once

// The Win32 API for the Windows-only units: without the min/max macros that
// clash with the standard library, and without the rarely used parts.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
