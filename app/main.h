// The main routine: association mode when only the program name is given,
// conversion of every named cursor file otherwise.
#ifndef QUORZEL_APP_MAIN_H
#define QUORZEL_APP_MAIN_H

#include <windows.h>

const char INSTALL_DIALOG_MUTEX_NAME[] = "quorzel.InstallDlg";

// The exit code for a run over the argument vector (always 0). ppwszArgs,
// when not null, holds the same arguments split from the UTF-16 command line.
int ProgramMain(int nCount, char** ppszArgs, wchar_t** ppwszArgs);

// The single-instance mutex of association mode, or null when it cannot be
// created or another instance holds it.
HANDLE OpenInstallDialogMutex();

// Converts one file of the list, by an ANSI or a UTF-16 path, to the outputs
// the flags name.
template <typename Char> void ConvertCursorFile(const Char* pszPath, unsigned fOutput);

#endif
