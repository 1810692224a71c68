// The list of files to convert: every argument that names an existing item,
// made a full path through the shell, by its ANSI name where the ANSI code
// page spells it and by its UTF-16 name where it does not.
#ifndef QUORZEL_APP_FILELIST_H
#define QUORZEL_APP_FILELIST_H

// One file of the list: its full path in one of the two forms, the other null.
struct FileListEntry
{
    char* pszPath;
    wchar_t* pwszPath;
};

// A heap array of the entries (each path its own allocation) and an entry of
// two nulls, in the order of the arguments. ppwszArgs, when not null, holds
// the same arguments split from the UTF-16 command line. Null when the array
// or a path cannot be allocated.
FileListEntry* BuildFileList(int nArgs, char** ppszArgs, wchar_t** ppwszArgs, int* pnCount);
void FreeFileList(FileListEntry* pList, int nCount);

// The full file-system path of an argument, relative names taken against the
// current directory, into a PATH_CAPACITY buffer; false leaves it empty.
template <typename Char> bool GetShellFullPath(Char* pszFullPath, const Char* pszArg);

#endif
