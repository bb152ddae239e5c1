/* The two window-system calls the plug-in makes outside the host's suites.
   On Windows they are user32's; elsewhere the host program provides them. */
#ifndef SMEARCRAFT_PLATFORM_H
#define SMEARCRAFT_PLATFORM_H

#ifdef _WIN32
#include <windows.h>
#else
#include <stdint.h>
typedef void *HINSTANCE;
typedef void *HCURSOR;
typedef const char *LPCSTR;
extern "C" HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
extern "C" HCURSOR SetCursor(HCURSOR cursor);
#define MAKEINTRESOURCEA(i) ((LPCSTR)(uintptr_t)(i))
#endif

#endif
