// The registry primitives the association records read with. They know
// nothing of associations; each gives true exactly when its platform calls
// succeed, and the caller closes every key it opened. (Changes are made by
// regchanges, whole or not at all.)
#ifndef QUORZEL_ASSOCIATION_REGKEYS_H
#define QUORZEL_ASSOCIATION_REGKEYS_H

#include <windows.h>

// Keys are opened with the access the caller asks for: KEY_READ to read, so
// that a user who may only read the key still sees what it holds. A key that
// refuses the access counts as absent.
bool OpenRegKey(HKEY hParent, const char* pszName, REGSAM samAccess, HKEY* phKey);
bool CloseRegKey(HKEY hKey);
bool RegKeyExists(HKEY hParent, const char* pszName);
// Whether two open keys are one key, as the registry names them: names that
// differ in letter case or in a trailing backslash open the same key.
bool IsSameRegKey(HKEY hFirst, HKEY hSecond);

// Reads the key's default value, of whatever type, into a buffer of nCapacity
// bytes and always leaves it terminated within that capacity. Data that does
// not fit (with a terminator of its own or one added after it) gives false and
// an empty buffer, as does a missing value.
bool ReadRegDefault(HKEY hKey, char* pBuffer, unsigned nCapacity);
// The same for a text to show: a value that does not fit gives as many of its
// first characters as fit, and true. Only a missing value gives false.
bool ReadRegText(HKEY hKey, char* pBuffer, unsigned nCapacity);

#endif
