// Changes to keys below HKEY_CLASSES_ROOT made whole or not at all: each is
// tried for the access it needs before any is made, then they are made in
// order, and if one still fails, those made are undone in reverse.
#ifndef QUORZEL_ASSOCIATION_REGCHANGES_H
#define QUORZEL_ASSOCIATION_REGCHANGES_H

#include <windows.h>

enum RegChangeKind
{
    REG_CHANGE_CREATE_KEY,      // the key, in a parent that exists or is created first
    REG_CHANGE_SET_DEFAULT,     // the key's default value: the text, of the value's type where it is REG_EXPAND_SZ
    REG_CHANGE_DELETE_KEY,      // the key, which must hold no key of its own; one already gone is no failure
    REG_CHANGE_DELETE_IF_ABLE,  // the key where the platform lets it go; one that holds other keys stays
};

// A key path below HKEY_CLASSES_ROOT: a file type's name (521 bytes at most)
// and a few short key names after it.
const unsigned REG_PATH_CAPACITY = 560;

struct RegChange
{
    RegChangeKind kind;
    char szKey[REG_PATH_CAPACITY];
    unsigned nParentLength;  // the length of the parent's path within szKey
    const char* pszText;     // what REG_CHANGE_SET_DEFAULT sets
    bool fNewKey;            // the key, or for REG_CHANGE_CREATE_KEY its parent, is created by an earlier change
    unsigned nOwner;         // who asked for it: failures are told by owner
    // What making it did, for undoing it: whether it changed anything, and
    // the default value it replaced or deleted (REG_NONE: there was none).
    bool fMade;
    DWORD dwOldType;
    BYTE* pOldValue;
    DWORD cbOldValue;
};

// ERROR_SUCCESS, or the error the change would meet now: its key, or the
// parent of a key to create, opened with the access the change needs, and
// for a key to delete whether it holds keys of its own (ERROR_DIR_NOT_EMPTY).
// A change below a key created by an earlier one is not tried.
DWORD TryRegChange(const RegChange* pChange);
// Makes the changes in order: ERROR_SUCCESS, or the error of the first that
// failed, whose index is put in *piFailed once the changes before it are
// undone.
DWORD MakeRegChanges(RegChange* aChanges, unsigned nCount, unsigned* piFailed);

#endif
