// The process entry and the main routine. Started with files, the program
// converts each readable cursor to C++ text for the clipboard and/or a ".cpp"
// file beside it; started alone, it shows the association dialog, one at a time.
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

void WriteOutputFile(const char* pszInputPath, const char* pszText)
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

int RunConversionMode(int nCount, char** ppszArgs)
{
    const unsigned fOutput = ParseOptions(nCount, ppszArgs);
    int nFiles = 0;
    char** ppszFiles = BuildFileList(nCount - 1, ppszArgs + 1, &nFiles);
    if (!ppszFiles)
        return 0;
    for (int i = 0; i < nFiles; ++i)
        ConvertCursorFile(ppszFiles[i], fOutput);
    FreeFileList(ppszFiles, nFiles);
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

void ConvertCursorFile(const char* pszPath, unsigned fOutput)
{
    if (!IsFilePath(pszPath))
        return;
    FILE* pInput = fopen(pszPath, "rb");
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

int ProgramMain(int nCount, char** ppszArgs)
{
    if (nCount <= 1)
        return RunAssociationMode();
    return RunConversionMode(nCount, ppszArgs);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int nCount = 0;
    char** ppszArgs = SplitCommandLine(GetCommandLineA(), &nCount);
    if (!ppszArgs)
        return EXIT_NO_MEMORY;
    for (int i = 0; i < nCount; ++i)
        GetTraceProc()("argv[%2d]=%s\r\n", i, ppszArgs[i]);

    InitCommonControls();
    CoInitialize(nullptr);
    const int nExitCode = ProgramMain(nCount, ppszArgs);
    CoUninitialize();
    free(ppszArgs);
    return nExitCode;
}
