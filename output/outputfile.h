// The ".cpp" file beside an input: naming it, moving an old one to the
// recycle bin, opening it; and the attribute tests on paths. Each takes a path
// in the ANSI code page (char), through the system's A calls, or in UTF-16
// (wchar_t), through its W calls.
#ifndef QUORZEL_OUTPUT_OUTPUTFILE_H
#define QUORZEL_OUTPUT_OUTPUTFILE_H

#include <stdio.h>

template <typename Char> bool PathExists(const Char* pszPath);
template <typename Char> bool IsDirectoryPath(const Char* pszPath);
template <typename Char> bool IsFilePath(const Char* pszPath);

// Moves the files of a double-NUL-terminated list to the recycle bin.
template <typename Char> bool DeleteToRecycleBin(const Char* pszList);

// fopen, or _wfopen for a UTF-16 path; the mode is two ASCII letters.
FILE* OpenFileStream(const char* pszPath, const char* pszMode);
FILE* OpenFileStream(const wchar_t* pszPath, const char* pszMode);

// A stream open "wb" on the input's ".cpp" name, or null when that name is
// the input itself, a folder, or a file the recycle bin would not take.
template <typename Char> FILE* OpenOutputFile(const Char* pszInputPath);

#endif
