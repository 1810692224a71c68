// The name of the ".cpp" file beside an input: the input's name with its last
// extension replaced. No Win32 here, so the rule is checked natively as well.
#ifndef QUORZEL_OUTPUT_OUTPUTNAME_H
#define QUORZEL_OUTPUT_OUTPUTNAME_H

// Writes the ".cpp" name of pszInputPath into pszOutputPath (PATH_CAPACITY
// bytes). False when that name is unusable: ".cpp" did not go on whole (the
// path was too long), or the name is the input's own (an input named *.cpp
// would otherwise be replaced by its own text).
bool MakeOutputPath(char* pszOutputPath, const char* pszInputPath);
// The same rule for a UTF-16 path, where no unit is half of a character.
bool MakeOutputPath(wchar_t* pwszOutputPath, const wchar_t* pwszInputPath);

#endif
