// The registry primitives the association records are built on. They know
// nothing of associations; each gives true exactly when its platform calls
// succeed, and the caller closes every key it opened or created.
#ifndef QUORZEL_ASSOCIATION_REGKEYS_H
#define QUORZEL_ASSOCIATION_REGKEYS_H

#include <windows.h>

// Keys are opened and created with the access the caller asks for: KEY_READ to
// read, so that a user who may only read the key still sees what it holds, and
// write access only for what is written. A key that refuses the access counts
// as absent.
bool OpenRegKey(HKEY hParent, const char* pszName, REGSAM samAccess, HKEY* phKey);
bool CreateRegKey(HKEY hParent, const char* pszName, REGSAM samAccess, HKEY* phKey);
bool CloseRegKey(HKEY hKey);
// Deletes one key without subkeys; never recursive.
bool DeleteRegKey(HKEY hParent, const char* pszName);
bool RegKeyExists(HKEY hParent, const char* pszName);

// Reads the key's default value, of whatever type, into a buffer of nCapacity
// bytes and always leaves it terminated within that capacity. Data that does
// not fit (with a terminator of its own or one added after it) gives false and
// an empty buffer, as does a missing value.
bool ReadRegDefault(HKEY hKey, char* pBuffer, unsigned nCapacity);
// The same for a text to show: a value that does not fit gives as many of its
// first characters as fit, and true. Only a missing value gives false.
bool ReadRegText(HKEY hKey, char* pBuffer, unsigned nCapacity);
// Writes the text as the key's default value, terminator included: REG_SZ, or
// REG_EXPAND_SZ where it replaces a value of that type, whose variables the
// shell goes on expanding. The key needs KEY_QUERY_VALUE and KEY_SET_VALUE.
bool WriteRegDefault(HKEY hKey, const char* pszText);

#endif
