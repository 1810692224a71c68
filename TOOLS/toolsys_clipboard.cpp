// The clipboard output of the system helpers: the generated text goes on the
// clipboard as CF_TEXT. A failure is traced and the clipboard keeps what it had.
#include "TOOLS/toolsys.h"

#include <string.h>
#include <windows.h>

namespace
{

// Failure lines name this source and line as the program has always reported
// them, so that logs read the same from one version to the next.
const char TOOLSYS_SOURCE_PATH[] = "..\\..\\TOOLS\\toolsys.cpp";

// "The function ... returned null / false."
const TraceSite GLOBAL_ALLOC_FAILED = {3054, "関数 GlobalAlloc( GMEM_SHARE | GMEM_MOVEABLE ) が null を返しました。"};
const TraceSite OPEN_CLIPBOARD_FAILED = {3076, "関数 OpenClipboard() が false を返しました。"};
const TraceSite GLOBAL_LOCK_FAILED = {3082, "関数 GlobalLock() が null を返しました。"};

bool TraceAt(const TraceSite& site)
{
    return TraceFailureAt(TOOLSYS_SOURCE_PATH, site);
}

}  // namespace

bool SetClipboardText(const char* pszText)
{
    const unsigned nSize = unsigned(strlen(pszText)) + 1;
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, nSize);
    if (!hText)
        return TraceAt(GLOBAL_ALLOC_FAILED);

    char* pszCopy = static_cast<char*>(GlobalLock(hText));
    if (!pszCopy)
    {
        GlobalFree(hText);
        return TraceAt(GLOBAL_LOCK_FAILED);
    }
    CopyString(pszCopy, nSize, pszText);
    GlobalUnlock(hText);

    if (!OpenClipboard(nullptr))
    {
        GlobalFree(hText);
        return TraceAt(OPEN_CLIPBOARD_FAILED);
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, hText))
        GlobalFree(hText);  // the clipboard did not take it
    CloseClipboard();
    return true;
}
