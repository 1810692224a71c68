// The association dialog: switches the Explorer context-menu entry for ".cur"
// and ".ico" files on or off and edits its menu text and command line.
#ifndef QUORZEL_ASSOCIATION_ASSOCDIALOG_H
#define QUORZEL_ASSOCIATION_ASSOCDIALOG_H

#include <windows.h>

// Runs the dialog modally from resource 120 without an owner; true when it
// ended with OK (the changes are then in the registry).
bool ShowAssociationDialog();

INT_PTR CALLBACK AssociationDlgProc(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

#endif
