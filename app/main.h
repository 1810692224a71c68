// The main routine: association mode when only the program name is given,
// conversion of every named cursor file otherwise.
#ifndef QUORZEL_APP_MAIN_H
#define QUORZEL_APP_MAIN_H

#include <windows.h>

const char INSTALL_DIALOG_MUTEX_NAME[] = "quorzel.InstallDlg";

// The exit code for a run over the argument vector (always 0).
int ProgramMain(int nCount, char** ppszArgs);

// The single-instance mutex of association mode, or null when it cannot be
// created or another instance holds it.
HANDLE OpenInstallDialogMutex();

// Converts one file of the list to the outputs the flags name.
void ConvertCursorFile(const char* pszPath, unsigned fOutput);

#endif
