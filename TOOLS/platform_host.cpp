// The debugger output of the native build: what Windows would send to a
// debugger goes to a listener (the tests) or to standard error.
#include <stdio.h>

#include "TOOLS/platform.h"

void (*g_pfnDebugOutputListener)(const char* pszOutputString) = nullptr;

void OutputDebugStringA(const char* pszOutputString)
{
    if (g_pfnDebugOutputListener)
        g_pfnDebugOutputListener(pszOutputString);
    else
        fputs(pszOutputString, stderr);
}
