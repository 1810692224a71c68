// The registry primitives: thin wrappers of advapi32 that open keys with the
// access asked for and keep every value read terminated within its buffer.
#include "association/regkeys.h"

#include <stdlib.h>
#include <string.h>

#include <winternl.h>

#include "TOOLS/toolsys.h"

bool OpenRegKey(HKEY hParent, const char* pszName, REGSAM samAccess, HKEY* phKey)
{
    return RegOpenKeyExA(hParent, pszName, 0, samAccess, phKey) == ERROR_SUCCESS;
}

bool CloseRegKey(HKEY hKey)
{
    return RegCloseKey(hKey) == ERROR_SUCCESS;
}

bool RegKeyExists(HKEY hParent, const char* pszName)
{
    HKEY hKey;
    if (!OpenRegKey(hParent, pszName, KEY_READ, &hKey))
        return false;
    CloseRegKey(hKey);
    return true;
}

namespace
{

// The registry's full name of an open key, as the object manager reports it.
union KeyName {
    UNICODE_STRING name;
    BYTE abBuffer[4096];
};

bool GetRegKeyName(HKEY hKey, KeyName* pName)
{
    ULONG cbName = 0;
    return NT_SUCCESS(NtQueryObject(hKey, ObjectNameInformation, pName, sizeof *pName, &cbName));
}

}  // namespace

bool IsSameRegKey(HKEY hFirst, HKEY hSecond)
{
    KeyName first;
    KeyName second;
    return GetRegKeyName(hFirst, &first) && GetRegKeyName(hSecond, &second) &&
           first.name.Length == second.name.Length &&
           memcmp(first.name.Buffer, second.name.Buffer, first.name.Length) == 0;
}

bool ReadRegDefault(HKEY hKey, char* pBuffer, unsigned nCapacity)
{
    if (nCapacity == 0)
        return false;
    // The platform neither terminates data stored without a terminator nor
    // promises anything of the buffer when the data does not fit.
    DWORD dwSize = nCapacity;
    const LONG lResult = RegQueryValueExA(hKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(pBuffer), &dwSize);
    if (lResult == ERROR_SUCCESS && dwSize < nCapacity)
    {
        pBuffer[dwSize] = '\0';
        return true;
    }
    if (lResult == ERROR_SUCCESS && dwSize == nCapacity && pBuffer[nCapacity - 1] == '\0')
        return true;
    pBuffer[0] = '\0';
    return false;
}

bool ReadRegText(HKEY hKey, char* pBuffer, unsigned nCapacity)
{
    if (ReadRegDefault(hKey, pBuffer, nCapacity))
        return true;
    // Too long for the buffer: the whole value in a block of its own size.
    DWORD dwSize = 0;
    if (RegQueryValueExA(hKey, nullptr, nullptr, nullptr, nullptr, &dwSize) != ERROR_SUCCESS || dwSize == 0)
        return false;
    char* pValue = static_cast<char*>(malloc(size_t(dwSize) + 1));
    if (!pValue)
        return false;
    const bool fRead = ReadRegDefault(hKey, pValue, dwSize + 1);
    if (fRead)
        CopyString(pBuffer, nCapacity, pValue);
    free(pValue);
    return fRead;
}
