// The process entry and the main routine. Started with files, the program
// converts each readable cursor to C++ text for the clipboard and/or a ".cpp"
// file beside it, whatever characters its name holds; started alone, it shows
// the association dialog, one at a time.
#include "app/main.h"

#include <stdio.h>
#include <stdlib.h>

#include <commctrl.h>
#include <objbase.h>

#include "TOOLS/toolsys.h"
#include "app/cmdline.h"
#include "app/filelist.h"
#include "association/assocdialog.h"
#include "cursor/cursorfile.h"
#include "cursor/cursorsource.h"
#include "output/outputfile.h"

namespace
{

// The exit code when the command line cannot even be split.
const int EXIT_NO_MEMORY = 1;

template <typename Char> void WriteOutputFile(const Char* pszInputPath, const char* pszText)
{
    FILE* pOutput = OpenOutputFile(pszInputPath);
    if (!pOutput)
        return;
    fputs(pszText, pOutput);
    fclose(pOutput);
}

// The mutex is held while the dialog is open, so that a second start ends at once.
int RunAssociationMode()
{
    HANDLE hMutex = OpenInstallDialogMutex();
    if (!hMutex)
        return 0;  // another instance has the dialog open
    ShowAssociationDialog();
    CloseHandle(hMutex);
    return 0;
}

int RunConversionMode(int nCount, char** ppszArgs, wchar_t** ppwszArgs)
{
    const unsigned fOutput = ParseOptions(nCount, ppszArgs);
    int nFiles = 0;
    FileListEntry* pFiles = BuildFileList(nCount - 1, ppszArgs + 1, ppwszArgs ? ppwszArgs + 1 : nullptr, &nFiles);
    if (!pFiles)
        return 0;
    for (int i = 0; i < nFiles; ++i)
    {
        if (pFiles[i].pwszPath)
            ConvertCursorFile(pFiles[i].pwszPath, fOutput);
        else
            ConvertCursorFile(pFiles[i].pszPath, fOutput);
    }
    FreeFileList(pFiles, nFiles);
    return 0;
}

}  // namespace

HANDLE OpenInstallDialogMutex()
{
    HANDLE hMutex = CreateMutexA(nullptr, TRUE, INSTALL_DIALOG_MUTEX_NAME);
    if (hMutex && GetLastError() == ERROR_ALREADY_EXISTS)
    {
        CloseHandle(hMutex);
        return nullptr;
    }
    return hMutex;
}

template <typename Char> void ConvertCursorFile(const Char* pszPath, unsigned fOutput)
{
    if (!IsFilePath(pszPath))
        return;
    FILE* pInput = OpenFileStream(pszPath, "rb");
    if (!pInput)
        return;
    CursorImage* pImage = ReadCursorImage(pInput);
    if (pImage)
    {
        char* pszText = GenerateCursorSource(&pImage->entry, pImage->xorMask, pImage->andMask);
        if (pszText)
        {
            if (fOutput & OUTPUT_CLIPBOARD)
                SetClipboardText(pszText);
            if (fOutput & OUTPUT_FILE)
                WriteOutputFile(pszPath, pszText);
            free(pszText);
        }
        free(pImage);
    }
    fclose(pInput);
}

template void ConvertCursorFile(const char*, unsigned);
template void ConvertCursorFile(const wchar_t*, unsigned);

int ProgramMain(int nCount, char** ppszArgs, wchar_t** ppwszArgs)
{
    if (nCount <= 1)
        return RunAssociationMode();
    return RunConversionMode(nCount, ppszArgs, ppwszArgs);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int nCount = 0;
    char** ppszArgs = SplitCommandLine(GetCommandLineA(), &nCount);
    if (!ppszArgs)
        return EXIT_NO_MEMORY;
    for (int i = 0; i < nCount; ++i)
        GetTraceProc()("argv[%2d]=%s\r\n", i, ppszArgs[i]);

    // The arguments as they are, where the ANSI code page cannot spell them;
    // only when both lines split alike do the two vectors go side by side.
    int nWideCount = 0;
    wchar_t** ppwszArgs = SplitCommandLine(GetCommandLineW(), &nWideCount);
    if (ppwszArgs && nWideCount != nCount)
    {
        free(ppwszArgs);
        ppwszArgs = nullptr;
    }

    InitCommonControls();
    CoInitialize(nullptr);
    const int nExitCode = ProgramMain(nCount, ppszArgs, ppwszArgs);
    CoUninitialize();
    free(ppwszArgs);
    free(ppszArgs);
    return nExitCode;
}
