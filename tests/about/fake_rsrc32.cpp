// A stand-in for the library that reports the free system resources on older
// Windows: it reports the figure in FAKE_RSRC32_FIGURE, and without
// FAKE_RSRC32_EXPORT it is a library of that name without the export.
#include <windows.h>

#include <stdlib.h>

#ifdef FAKE_RSRC32_EXPORT
// Exported under the system library's decorated name (fake_rsrc32.def).
extern "C" int WINAPI GetFigure(int)
{
    char szFigure[16] = "";
    GetEnvironmentVariableA("FAKE_RSRC32_FIGURE", szFigure, sizeof szFigure);
    return atoi(szFigure);
}
#endif
