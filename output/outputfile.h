// The ".cpp" file beside an input: naming it, moving an old one to the
// recycle bin, opening it; and the attribute tests on paths.
#ifndef QUORZEL_OUTPUT_OUTPUTFILE_H
#define QUORZEL_OUTPUT_OUTPUTFILE_H

#include <stdio.h>

bool PathExists(const char* pszPath);
bool IsDirectoryPath(const char* pszPath);
bool IsFilePath(const char* pszPath);

// Moves the files of a double-NUL-terminated list to the recycle bin.
bool DeleteToRecycleBin(const char* pszList);

// A stream open "wb" on the input's ".cpp" name, or null when that name is
// the input itself, a folder, or a file the recycle bin would not take.
FILE* OpenOutputFile(const char* pszInputPath);

#endif
