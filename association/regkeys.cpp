// The registry primitives: thin wrappers of advapi32 that open everything
// with full access and keep every value read terminated within its buffer.
#include "association/regkeys.h"

#include <string.h>

bool OpenRegKey(HKEY hParent, const char* pszName, HKEY* phKey)
{
    return RegOpenKeyExA(hParent, pszName, 0, KEY_ALL_ACCESS, phKey) == ERROR_SUCCESS;
}

bool CreateRegKey(HKEY hParent, const char* pszName, HKEY* phKey)
{
    char szNoClass[] = "";
    return RegCreateKeyExA(hParent, pszName, 0, szNoClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, phKey,
                           nullptr) == ERROR_SUCCESS;
}

bool CloseRegKey(HKEY hKey)
{
    return RegCloseKey(hKey) == ERROR_SUCCESS;
}

bool DeleteRegKey(HKEY hParent, const char* pszName)
{
    return RegDeleteKeyA(hParent, pszName) == ERROR_SUCCESS;
}

bool RegKeyExists(HKEY hParent, const char* pszName)
{
    HKEY hKey;
    if (!OpenRegKey(hParent, pszName, &hKey))
        return false;
    CloseRegKey(hKey);
    return true;
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

bool WriteRegDefault(HKEY hKey, const char* pszText)
{
    const DWORD dwSize = static_cast<DWORD>(strlen(pszText)) + 1;
    return RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText), dwSize) == ERROR_SUCCESS;
}
