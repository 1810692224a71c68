// The association records: where the verb lives for each extension, reading,
// writing and removing it, and deciding and applying what the dialog changed.
#include "association/associations.h"

#include <string.h>

#include "TOOLS/toolsys.h"
#include "association/regchanges.h"
#include "association/regkeys.h"

const ExtensionInfo ExtensionTable[ASSOCIATION_COUNT] = {
    {GROUP_ICO, ASSOCIATION_ICO, ".ico"},
    {GROUP_CUR, ASSOCIATION_CUR, ".cur"},
};

namespace
{

const char SHELL_KEY_NAME[] = "shell";
const char COMMAND_KEY_NAME[] = "command";
const char LOCATION_FORMAT[] = "HKEY_CLASSES_ROOT\\%s\\%s\\%s";

// The keys from the file type down to the verb's command, and the text that
// each of them holds: none, the menu text, the command line.
const char* const VerbKeyNames[] = {SHELL_KEY_NAME, VERB_NAME, COMMAND_KEY_NAME};
const unsigned VERB_KEY_COUNT = sizeof VerbKeyNames / sizeof VerbKeyNames[0];

// What one OK changes: for each extension, at most a key and its value at
// each level of the verb.
struct ChangeList
{
    RegChange aChanges[2 * VERB_KEY_COUNT * ASSOCIATION_COUNT];
    unsigned nCount;
};

AssociationEntry& EntryOf(AssociationSet* pSet, const ExtensionInfo& info)
{
    return pSet->entries[EntryIndex(info)];
}

const AssociationEntry& EntryOf(const AssociationSet* pSet, const ExtensionInfo& info)
{
    return pSet->entries[EntryIndex(info)];
}

bool OpenFileTypeKeyToRead(const char* pszExtension, HKEY* phKey)
{
    return OpenFileTypeKey(pszExtension, KEY_READ, phKey);
}

// Opens pszName below the key that pfnOpenOuter opens, and closes that one.
bool OpenBelow(bool (*pfnOpenOuter)(const char*, HKEY*), const char* pszExtension, const char* pszName, HKEY* phKey)
{
    HKEY hOuter;
    if (!pfnOpenOuter(pszExtension, &hOuter))
        return false;
    const bool fOpened = OpenRegKey(hOuter, pszName, KEY_READ, phKey);
    CloseRegKey(hOuter);
    return fOpened;
}

// The full name of the key that holds, or would hold, the extension's verb;
// empty where there is no file-type key to hold it.
void SetLocation(const char* pszExtension, char* pszLocation)
{
    char szName[FILE_TYPE_NAME_CAPACITY];
    GetFileTypeKeyName(pszExtension, szName);
    pszLocation[0] = '\0';
    if (!RegKeyExists(HKEY_CLASSES_ROOT, szName))
        return;
    char szPath[LOCATION_CAPACITY + FILE_TYPE_NAME_CAPACITY];
    FormatBounded(szPath, sizeof szPath, LOCATION_FORMAT, szName, SHELL_KEY_NAME, VERB_NAME);
    CopyString(pszLocation, LOCATION_CAPACITY, szPath);
}

// Whether the extensions' file types are one key, as the registry sees them.
bool IsSameFileType(const char* pszExtension, const char* pszOther)
{
    HKEY hFileType;
    if (!OpenFileTypeKey(pszExtension, KEY_READ, &hFileType))
        return false;
    HKEY hOther;
    bool fSame = false;
    if (OpenFileTypeKey(pszOther, KEY_READ, &hOther))
    {
        fSame = IsSameRegKey(hFileType, hOther);
        CloseRegKey(hOther);
    }
    CloseRegKey(hFileType);
    return fSame;
}

// Whether another extension that is to be registered in the set has the
// same file-type key: its verb is this one's too.
bool SharesFileTypeToKeep(const AssociationSet* pSet, const ExtensionInfo& info)
{
    for (const ExtensionInfo& other : ExtensionTable)
    {
        if (&other == &info || !(pSet->flags & other.bit))
            continue;
        if (IsSameFileType(info.extension, other.extension))
            return true;
    }
    return false;
}

// The key's path is pszKey; its parent's is its first nParentLength bytes.
void AddChange(ChangeList* pList, RegChangeKind kind, const char* pszKey, unsigned nParentLength, const char* pszText,
               bool fNewKey)
{
    RegChange& change = pList->aChanges[pList->nCount++];
    change.kind = kind;
    CopyString(change.szKey, sizeof change.szKey, pszKey);
    change.nParentLength = nParentLength;
    change.pszText = pszText;
    change.fNewKey = fNewKey;
}

// The verb below the extension's file type with the texts given (null: as it
// is), each key made where it is missing. ERROR_FILE_NOT_FOUND where there is
// no file-type key to hold the verb.
DWORD PlanWrite(ChangeList* pList, const ExtensionInfo& info, const char* pszMenuText, const char* pszCommandLine)
{
    char szKey[REG_PATH_CAPACITY];
    GetFileTypeKeyName(info.extension, szKey);
    if (!RegKeyExists(HKEY_CLASSES_ROOT, szKey))
        return ERROR_FILE_NOT_FOUND;
    const char* const apszTexts[VERB_KEY_COUNT] = {nullptr, pszMenuText, pszCommandLine};
    bool fParentNew = false;
    for (unsigned i = 0; i < VERB_KEY_COUNT; ++i)
    {
        const unsigned nParentLength = static_cast<unsigned>(strlen(szKey));
        FormatBounded(szKey + nParentLength, sizeof szKey - nParentLength, "\\%s", VerbKeyNames[i]);
        const bool fNew = fParentNew || !RegKeyExists(HKEY_CLASSES_ROOT, szKey);
        if (fNew)
            AddChange(pList, REG_CHANGE_CREATE_KEY, szKey, nParentLength, nullptr, fParentNew);
        if (apszTexts[i])
            AddChange(pList, REG_CHANGE_SET_DEFAULT, szKey, nParentLength, apszTexts[i], fNew);
        fParentNew = fNew;
    }
    return ERROR_SUCCESS;
}

// The verb's command, then the verb where it holds no other key; "shell" stays.
void PlanRemoval(ChangeList* pList, const ExtensionInfo& info)
{
    char szKey[REG_PATH_CAPACITY];
    GetFileTypeKeyName(info.extension, szKey);
    unsigned nLength = static_cast<unsigned>(strlen(szKey));
    nLength += FormatBounded(szKey + nLength, sizeof szKey - nLength, "\\%s\\%s", SHELL_KEY_NAME, VERB_NAME);
    const unsigned nVerbLength = nLength;
    FormatBounded(szKey + nLength, sizeof szKey - nLength, "\\%s", COMMAND_KEY_NAME);
    AddChange(pList, REG_CHANGE_DELETE_KEY, szKey, nVerbLength, nullptr, false);
    szKey[nVerbLength] = '\0';
    AddChange(pList, REG_CHANGE_DELETE_IF_ABLE, szKey, 0, nullptr, false);
}

// Plans what the extension's change needs: an extension registered in the
// old set gets only the texts that differ from it.
DWORD PlanChange(ChangeList* pList, const ExtensionInfo& info, const AssociationSet* pNewSet,
                 const AssociationSet* pOldSet)
{
    const AssociationEntry& entry = EntryOf(pNewSet, info);
    const AssociationEntry& oldEntry = EntryOf(pOldSet, info);
    if (!(pNewSet->flags & info.bit))
    {
        if (!SharesFileTypeToKeep(pNewSet, info))
            PlanRemoval(pList, info);
        return ERROR_SUCCESS;
    }
    const bool fWasRegistered = (pOldSet->flags & info.bit) != 0;
    const bool fMenu = !fWasRegistered || !IsSameString(entry.menuText, oldEntry.menuText);
    const bool fCommand = !fWasRegistered || !IsSameString(entry.commandLine, oldEntry.commandLine);
    return PlanWrite(pList, info, fMenu ? entry.menuText : nullptr, fCommand ? entry.commandLine : nullptr);
}

}  // namespace

unsigned BuildCommandLineFor(const char* pszProgramPath, char* pBuffer)
{
    const char* const PARTS[] = {"\"", pszProgramPath, "\" \"%1\""};
    unsigned nLength = 0;
    for (const char* pszPart : PARTS)
        nLength += AppendString(pBuffer, nLength, COMMAND_LINE_CAPACITY, pszPart);
    if (pBuffer)
        pBuffer[nLength] = '\0';
    return nLength + 1;
}

unsigned BuildDefaultCommandLine(char* pBuffer)
{
    char szProgramPath[PATH_CAPACITY];
    const DWORD dwLength = GetModuleFileNameA(nullptr, szProgramPath, PATH_CAPACITY);
    // Older systems leave a path that fills the buffer unterminated.
    szProgramPath[dwLength < PATH_CAPACITY ? dwLength : PATH_CAPACITY - 1] = '\0';
    // Where the ANSI code page cannot spell the program's path, that path
    // names no file: the short form of the path may still be spelled.
    WCHAR wszProgramPath[PATH_CAPACITY];
    const DWORD dwWideLength = GetModuleFileNameW(nullptr, wszProgramPath, PATH_CAPACITY);
    if (dwWideLength == 0 || dwWideLength >= PATH_CAPACITY || GetExactAnsiText(nullptr, 0, wszProgramPath))
        return BuildCommandLineFor(szProgramPath, pBuffer);
    WCHAR wszShortPath[PATH_CAPACITY];
    const DWORD dwShortLength = GetShortPathNameW(wszProgramPath, wszShortPath, PATH_CAPACITY);
    if (dwShortLength != 0 && dwShortLength < PATH_CAPACITY &&
        GetExactAnsiText(szProgramPath, PATH_CAPACITY, wszShortPath))
        return BuildCommandLineFor(szProgramPath, pBuffer);
    if (pBuffer)
        pBuffer[0] = '\0';
    return 0;  // no command line would start the program
}

bool GetFileTypeKeyName(const char* pszExtension, char* pszName)
{
    CopyString(pszName, FILE_TYPE_NAME_CAPACITY, pszExtension);
    HKEY hExtension;
    if (!OpenRegKey(HKEY_CLASSES_ROOT, pszExtension, KEY_READ, &hExtension))
        return true;
    char szFileType[FILE_TYPE_NAME_CAPACITY];
    const bool fRead = ReadRegDefault(hExtension, szFileType, FILE_TYPE_NAME_CAPACITY);
    CloseRegKey(hExtension);
    // An empty name would open HKEY_CLASSES_ROOT itself.
    if (fRead && szFileType[0] != '\0' && RegKeyExists(HKEY_CLASSES_ROOT, szFileType))
        CopyString(pszName, FILE_TYPE_NAME_CAPACITY, szFileType);
    return true;
}

bool OpenFileTypeKey(const char* pszExtension, REGSAM samAccess, HKEY* phKey)
{
    char szName[FILE_TYPE_NAME_CAPACITY];
    GetFileTypeKeyName(pszExtension, szName);
    return OpenRegKey(HKEY_CLASSES_ROOT, szName, samAccess, phKey);
}

bool OpenShellKey(const char* pszExtension, HKEY* phKey)
{
    return OpenBelow(OpenFileTypeKeyToRead, pszExtension, SHELL_KEY_NAME, phKey);
}

bool OpenVerbKey(const char* pszExtension, HKEY* phKey)
{
    return OpenBelow(OpenShellKey, pszExtension, VERB_NAME, phKey);
}

bool ReadAssociation(const char* pszExtension, char* pszMenuText, char* pszCommandLine)
{
    HKEY hVerb;
    if (!OpenVerbKey(pszExtension, &hVerb))
        return false;
    ReadRegText(hVerb, pszMenuText, MENU_TEXT_CAPACITY);
    HKEY hCommand;
    const bool fRegistered = OpenRegKey(hVerb, COMMAND_KEY_NAME, KEY_READ, &hCommand);
    if (fRegistered)
    {
        ReadRegText(hCommand, pszCommandLine, COMMAND_LINE_CAPACITY);
        CloseRegKey(hCommand);
    }
    CloseRegKey(hVerb);
    return fRegistered;
}

bool LoadAssociations(AssociationSet* pSet)
{
    pSet->flags = 0;
    for (const ExtensionInfo& info : ExtensionTable)
    {
        AssociationEntry& entry = EntryOf(pSet, info);
        SetLocation(info.extension, entry.location);
        if (ReadAssociation(info.extension, entry.menuText, entry.commandLine))
        {
            pSet->flags |= info.bit;
        }
        else
        {
            CopyString(entry.menuText, MENU_TEXT_CAPACITY, DEFAULT_MENU_TEXT);
            BuildDefaultCommandLine(entry.commandLine);
        }
    }
    return true;
}

uint32_t GetChangedAssociations(const AssociationSet* pNewSet, const AssociationSet* pOldSet)
{
    uint32_t uChanged = pNewSet->flags ^ pOldSet->flags;
    for (const ExtensionInfo& info : ExtensionTable)
    {
        if (!(pNewSet->flags & pOldSet->flags & info.bit))
            continue;
        const AssociationEntry& newEntry = EntryOf(pNewSet, info);
        const AssociationEntry& oldEntry = EntryOf(pOldSet, info);
        if (!IsSameString(newEntry.commandLine, oldEntry.commandLine) ||
            !IsSameString(newEntry.menuText, oldEntry.menuText))
            uChanged |= info.bit;
    }
    return uChanged;
}

bool ApplyAssociations(const AssociationSet* pNewSet, const AssociationSet* pOldSet, uint32_t uChanged,
                       DWORD adwErrors[ASSOCIATION_COUNT])
{
    static ChangeList list;  // too large for a comfortable stack frame
    list.nCount = 0;
    // Keys and values are written first and keys deleted last, the change
    // that is the hardest to undo.
    static const bool afWriting[] = {true, false};
    for (const bool fWrite : afWriting)
        for (const ExtensionInfo& info : ExtensionTable)
        {
            const unsigned iEntry = EntryIndex(info);
            const unsigned nFirst = list.nCount;
            if (fWrite)
                adwErrors[iEntry] = ERROR_SUCCESS;
            if ((uChanged & info.bit) && ((pNewSet->flags & info.bit) != 0) == fWrite)
                adwErrors[iEntry] = PlanChange(&list, info, pNewSet, pOldSet);
            for (unsigned i = nFirst; i < list.nCount; ++i)
                list.aChanges[i].nOwner = iEntry;
        }
    // Nothing is changed unless every change can be made.
    bool fReady = true;
    for (unsigned i = 0; i < list.nCount; ++i)
    {
        DWORD& dwError = adwErrors[list.aChanges[i].nOwner];
        if (dwError == ERROR_SUCCESS)
            dwError = TryRegChange(&list.aChanges[i]);
    }
    for (unsigned i = 0; i < ASSOCIATION_COUNT; ++i)
        fReady = fReady && adwErrors[i] == ERROR_SUCCESS;
    if (!fReady)
        return false;
    unsigned iFailed = 0;
    const DWORD dwError = MakeRegChanges(list.aChanges, list.nCount, &iFailed);
    if (dwError != ERROR_SUCCESS)
        adwErrors[list.aChanges[iFailed].nOwner] = dwError;
    return dwError == ERROR_SUCCESS;
}
