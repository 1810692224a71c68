// Changes to the registry made whole or not at all. A default value replaced
// or deleted is kept as the platform stores it (read and written wide, of its
// own type), so that undoing puts back exactly what was there.
#include "association/regchanges.h"

#include <stdlib.h>
#include <string.h>

#include "TOOLS/toolsys.h"

namespace
{

const REGSAM VALUE_ACCESS = KEY_QUERY_VALUE | KEY_SET_VALUE;

// The access each kind of change is tried with, by RegChangeKind; the last
// kind is not tried: its failure is no failure.
const REGSAM TryAccess[] = {KEY_CREATE_SUB_KEY, VALUE_ACCESS, DELETE | KEY_QUERY_VALUE, 0};

// Keeps the key's default value in the change; none leaves pOldValue null.
LONG SaveDefault(HKEY hKey, RegChange* pChange)
{
    DWORD cbValue = 0;
    const LONG lResult = RegQueryValueExW(hKey, nullptr, nullptr, nullptr, nullptr, &cbValue);
    if (lResult != ERROR_SUCCESS)
        return lResult == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : lResult;
    pChange->pOldValue = static_cast<BYTE*>(malloc(cbValue + 1));
    if (!pChange->pOldValue)
        return ERROR_NOT_ENOUGH_MEMORY;
    pChange->cbOldValue = cbValue;
    return RegQueryValueExW(hKey, nullptr, nullptr, &pChange->dwOldType, pChange->pOldValue, &pChange->cbOldValue);
}

// A command line stored expandable stays expandable.
LONG SetDefaultText(HKEY hKey, const RegChange* pChange)
{
    const DWORD dwType = pChange->pOldValue && pChange->dwOldType == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ;
    return RegSetValueExA(hKey, nullptr, 0, dwType, reinterpret_cast<const BYTE*>(pChange->pszText),
                          static_cast<DWORD>(strlen(pChange->pszText)) + 1);
}

LONG MakeRegChange(RegChange* pChange)
{
    pChange->fMade = false;
    pChange->pOldValue = nullptr;
    HKEY hKey;
    if (pChange->kind == REG_CHANGE_CREATE_KEY)
    {
        DWORD dwDisposition = 0;
        const LONG lResult = RegCreateKeyExA(HKEY_CLASSES_ROOT, pChange->szKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_READ, nullptr, &hKey, &dwDisposition);
        if (lResult == ERROR_SUCCESS)
            RegCloseKey(hKey);
        pChange->fMade = dwDisposition == REG_CREATED_NEW_KEY;
        return lResult;
    }
    const bool fSet = pChange->kind == REG_CHANGE_SET_DEFAULT;
    LONG lResult = RegOpenKeyExA(HKEY_CLASSES_ROOT, pChange->szKey, 0, fSet ? VALUE_ACCESS : KEY_QUERY_VALUE, &hKey);
    if (lResult == ERROR_SUCCESS)
    {
        lResult = SaveDefault(hKey, pChange);
        if (lResult == ERROR_SUCCESS && fSet)
            lResult = SetDefaultText(hKey, pChange);
        RegCloseKey(hKey);
        if (lResult == ERROR_SUCCESS && !fSet)
            lResult = RegDeleteKeyA(HKEY_CLASSES_ROOT, pChange->szKey);
        pChange->fMade = lResult == ERROR_SUCCESS;
    }
    // A key gone already, as where two extensions share a file type, needs no deleting.
    if (!fSet && (pChange->kind == REG_CHANGE_DELETE_IF_ABLE || lResult == ERROR_FILE_NOT_FOUND))
        return ERROR_SUCCESS;
    return lResult;
}

// Deletes a key the change created, or puts back the default value of a key
// it set or deleted (making that key again).
void UndoRegChange(const RegChange& change)
{
    if (!change.fMade)
        return;
    if (change.kind == REG_CHANGE_CREATE_KEY)
    {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, change.szKey);
        return;
    }
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, change.szKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &hKey, nullptr) != ERROR_SUCCESS)
        return;
    if (change.pOldValue)
        RegSetValueExW(hKey, nullptr, 0, change.dwOldType, change.pOldValue, change.cbOldValue);
    else
        RegDeleteValueW(hKey, nullptr);
    RegCloseKey(hKey);
}

}  // namespace

DWORD TryRegChange(const RegChange* pChange)
{
    if (pChange->fNewKey || pChange->kind == REG_CHANGE_DELETE_IF_ABLE)
        return ERROR_SUCCESS;
    // A key to create is tried through its parent.
    const bool fCreate = pChange->kind == REG_CHANGE_CREATE_KEY;
    const unsigned nLength = fCreate ? pChange->nParentLength : static_cast<unsigned>(strlen(pChange->szKey));
    char szKey[REG_PATH_CAPACITY];
    CopyString(szKey, nLength + 1, pChange->szKey);
    HKEY hKey;
    LONG lResult = RegOpenKeyExA(HKEY_CLASSES_ROOT, szKey, 0, TryAccess[pChange->kind], &hKey);
    if (lResult == ERROR_FILE_NOT_FOUND && pChange->kind == REG_CHANGE_DELETE_KEY)
        return ERROR_SUCCESS;
    if (lResult != ERROR_SUCCESS)
        return lResult;
    // The platform refuses to delete a key that holds keys, as if access were denied.
    DWORD nSubKeys = 0;
    if (pChange->kind == REG_CHANGE_DELETE_KEY &&
        RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &nSubKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS &&
        nSubKeys > 0)
        lResult = ERROR_DIR_NOT_EMPTY;
    RegCloseKey(hKey);
    return lResult;
}

DWORD MakeRegChanges(RegChange* aChanges, unsigned nCount, unsigned* piFailed)
{
    unsigned nTried = 0;
    LONG lResult = ERROR_SUCCESS;
    while (lResult == ERROR_SUCCESS && nTried < nCount)
        lResult = MakeRegChange(&aChanges[nTried++]);
    if (lResult != ERROR_SUCCESS)
    {
        *piFailed = nTried - 1;
        for (unsigned i = nTried; i-- > 0;)
            UndoRegChange(aChanges[i]);
    }
    for (unsigned i = 0; i < nTried; ++i)
        free(aChanges[i].pOldValue);
    return static_cast<DWORD>(lResult);
}
