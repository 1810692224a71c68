// The few Win32 names that the portable parts of the program use.
// On Windows they come from the system headers; the native build has its own
// OutputDebugStringA, which tests can listen to.
#ifndef QUORZEL_TOOLS_PLATFORM_H
#define QUORZEL_TOOLS_PLATFORM_H

#ifdef _WIN32

#include <windows.h>

#else

#include <stdint.h>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;

// The bitmap header of a cursor image, laid out as the Windows header is.
typedef struct tagBITMAPINFOHEADER
{
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER;

#define BI_RGB 0L

// Sends a text to the listener when one is set, else to standard error.
void OutputDebugStringA(const char* pszOutputString);
extern void (*g_pfnDebugOutputListener)(const char* pszOutputString);

#endif

#endif
