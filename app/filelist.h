// The list of files to convert: every argument that names an existing item,
// made a full path through the shell.
#ifndef QUORZEL_APP_FILELIST_H
#define QUORZEL_APP_FILELIST_H

// A heap array of the full paths (each its own allocation) and a null entry.
// Null when the array or a path cannot be allocated.
char** BuildFileList(int nArgs, char** ppszArgs, int* pnCount);
void FreeFileList(char** ppszList, int nCount);

// The full file-system path of an argument, relative names taken against the
// current directory, into a PATH_CAPACITY buffer; false leaves it empty.
bool GetShellFullPath(char* pszFullPath, const char* pszArg);

#endif
