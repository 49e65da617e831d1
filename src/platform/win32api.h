#pragma once

// The Win32 API for the *_win.cpp files of this directory only: without the
// min/max macros that clash with the standard library, and without the rarely
// used parts.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
