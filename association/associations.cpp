// The association records: where the verb lives for each extension, reading,
// writing and removing it, and deciding and applying what the dialog changed.
#include "association/associations.h"

#include "TOOLS/toolsys.h"
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

// Writing asks for access to the keys on the way to the values it writes.
const REGSAM VALUE_ACCESS = KEY_QUERY_VALUE | KEY_SET_VALUE;

AssociationEntry& EntryOf(AssociationSet* pSet, const ExtensionInfo& info)
{
    return pSet->entries[info.group - ASSOCIATION_FIRST_GROUP];
}

const AssociationEntry& EntryOf(const AssociationSet* pSet, const ExtensionInfo& info)
{
    return pSet->entries[info.group - ASSOCIATION_FIRST_GROUP];
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

bool IsRegistered(const char* pszExtension)
{
    HKEY hVerb;
    if (!OpenVerbKey(pszExtension, &hVerb))
        return false;
    const bool fRegistered = RegKeyExists(hVerb, COMMAND_KEY_NAME);
    CloseRegKey(hVerb);
    return fRegistered;
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

// Whether another extension that is to be registered in the set has the
// same file-type key: its verb is this one's too.
bool SharesFileTypeToKeep(const AssociationSet* pSet, const ExtensionInfo& info)
{
    char szName[FILE_TYPE_NAME_CAPACITY];
    char szOtherName[FILE_TYPE_NAME_CAPACITY];
    GetFileTypeKeyName(info.extension, szName);
    for (const ExtensionInfo& other : ExtensionTable)
    {
        if (&other == &info || !(pSet->flags & other.bit))
            continue;
        GetFileTypeKeyName(other.extension, szOtherName);
        if (IsSameStringNoCase(szName, szOtherName))
            return true;
    }
    return false;
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

bool WriteAssociation(const char* pszExtension, const char* pszMenuText, const char* pszCommandLine)
{
    HKEY hFileType;
    if (!OpenFileTypeKey(pszExtension, KEY_CREATE_SUB_KEY, &hFileType))
        return false;
    HKEY hShell;
    HKEY hVerb;
    HKEY hCommand;
    bool fWritten = false;
    if (CreateRegKey(hFileType, SHELL_KEY_NAME, KEY_CREATE_SUB_KEY, &hShell))
    {
        if (CreateRegKey(hShell, VERB_NAME, KEY_CREATE_SUB_KEY | VALUE_ACCESS, &hVerb))
        {
            const bool fMenuWritten = !pszMenuText || WriteRegDefault(hVerb, pszMenuText);
            if (CreateRegKey(hVerb, COMMAND_KEY_NAME, VALUE_ACCESS, &hCommand))
            {
                fWritten = (!pszCommandLine || WriteRegDefault(hCommand, pszCommandLine)) && fMenuWritten;
                CloseRegKey(hCommand);
            }
            CloseRegKey(hVerb);
        }
        CloseRegKey(hShell);
    }
    CloseRegKey(hFileType);
    return fWritten;
}

bool RemoveAssociation(const char* pszExtension)
{
    HKEY hShell;
    if (OpenShellKey(pszExtension, &hShell))
    {
        HKEY hVerb;
        if (OpenRegKey(hShell, VERB_NAME, KEY_READ, &hVerb))
        {
            // A verb that holds other subkeys stays: the platform deletes only
            // keys without subkeys, and nothing here is recursive.
            DeleteRegKey(hVerb, COMMAND_KEY_NAME);
            CloseRegKey(hVerb);
            DeleteRegKey(hShell, VERB_NAME);
        }
        CloseRegKey(hShell);
    }
    return !IsRegistered(pszExtension);
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
                       uint32_t* puFailed)
{
    *puFailed = 0;
    for (const ExtensionInfo& info : ExtensionTable)
    {
        if (!(uChanged & info.bit))
            continue;
        const AssociationEntry& entry = EntryOf(pNewSet, info);
        const AssociationEntry& oldEntry = EntryOf(pOldSet, info);
        const bool fWasRegistered = (pOldSet->flags & info.bit) != 0;
        bool fDone;
        if (pNewSet->flags & info.bit)
        {
            const bool fMenu = !fWasRegistered || !IsSameString(entry.menuText, oldEntry.menuText);
            const bool fCommand = !fWasRegistered || !IsSameString(entry.commandLine, oldEntry.commandLine);
            fDone = WriteAssociation(info.extension, fMenu ? entry.menuText : nullptr,
                                     fCommand ? entry.commandLine : nullptr);
        }
        else
        {
            fDone = SharesFileTypeToKeep(pNewSet, info) || RemoveAssociation(info.extension);
        }
        if (!fDone)
            *puFailed |= info.bit;
    }
    return *puFailed == 0;
}
