// The seven registry primitives the association records are built on. They
// know nothing of associations; each gives true exactly when its platform
// call succeeds, and the caller closes every key it opened or created.
#ifndef QUORZEL_ASSOCIATION_REGKEYS_H
#define QUORZEL_ASSOCIATION_REGKEYS_H

#include <windows.h>

// Opening and creating always ask for full access: a key that refuses it
// counts as absent.
bool OpenRegKey(HKEY hParent, const char* pszName, HKEY* phKey);
bool CreateRegKey(HKEY hParent, const char* pszName, HKEY* phKey);
bool CloseRegKey(HKEY hKey);
// Deletes one key without subkeys; never recursive.
bool DeleteRegKey(HKEY hParent, const char* pszName);
bool RegKeyExists(HKEY hParent, const char* pszName);

// Reads the key's default value, of whatever type, into a buffer of nCapacity
// bytes and always leaves it terminated within that capacity. Data that does
// not fit (with a terminator of its own or one added after it) gives false and
// an empty buffer, as does a missing value.
bool ReadRegDefault(HKEY hKey, char* pBuffer, unsigned nCapacity);
// Writes the text as the key's REG_SZ default value, terminator included.
bool WriteRegDefault(HKEY hKey, const char* pszText);

#endif
