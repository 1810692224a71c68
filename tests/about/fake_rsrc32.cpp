// A stand-in for the library that reports the free system resources on older
// Windows: its figure, 1234, is long enough for the line to be cut.
#include <windows.h>

// Exported under the system library's decorated name (fake_rsrc32.def).
extern "C" int WINAPI GetFigure(int)
{
    return 1234;
}
