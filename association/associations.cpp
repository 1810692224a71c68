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

AssociationEntry& EntryOf(AssociationSet* pSet, const ExtensionInfo& info)
{
    return pSet->entries[info.group - ASSOCIATION_FIRST_GROUP];
}

const AssociationEntry& EntryOf(const AssociationSet* pSet, const ExtensionInfo& info)
{
    return pSet->entries[info.group - ASSOCIATION_FIRST_GROUP];
}

// Opens pszName below the key that pfnOpenOuter opens, and closes that one.
bool OpenBelow(bool (*pfnOpenOuter)(const char*, HKEY*), const char* pszExtension, const char* pszName, HKEY* phKey)
{
    HKEY hOuter;
    if (!pfnOpenOuter(pszExtension, &hOuter))
        return false;
    const bool fOpened = OpenRegKey(hOuter, pszName, phKey);
    CloseRegKey(hOuter);
    return fOpened;
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
    return BuildCommandLineFor(szProgramPath, pBuffer);
}

bool GetFileTypeKeyName(const char* pszExtension, char* pszName)
{
    CopyString(pszName, FILE_TYPE_NAME_CAPACITY, pszExtension);
    HKEY hExtension;
    if (!OpenRegKey(HKEY_CLASSES_ROOT, pszExtension, &hExtension))
        return true;
    char szFileType[FILE_TYPE_NAME_CAPACITY];
    const bool fRead = ReadRegDefault(hExtension, szFileType, FILE_TYPE_NAME_CAPACITY);
    CloseRegKey(hExtension);
    // An empty name would open HKEY_CLASSES_ROOT itself.
    if (fRead && szFileType[0] != '\0' && RegKeyExists(HKEY_CLASSES_ROOT, szFileType))
        CopyString(pszName, FILE_TYPE_NAME_CAPACITY, szFileType);
    return true;
}

bool OpenFileTypeKey(const char* pszExtension, HKEY* phKey)
{
    char szName[FILE_TYPE_NAME_CAPACITY];
    GetFileTypeKeyName(pszExtension, szName);
    return OpenRegKey(HKEY_CLASSES_ROOT, szName, phKey);
}

bool OpenShellKey(const char* pszExtension, HKEY* phKey)
{
    return OpenBelow(OpenFileTypeKey, pszExtension, SHELL_KEY_NAME, phKey);
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
    ReadRegDefault(hVerb, pszMenuText, MENU_TEXT_CAPACITY);
    HKEY hCommand;
    const bool fRegistered = OpenRegKey(hVerb, COMMAND_KEY_NAME, &hCommand);
    if (fRegistered)
    {
        ReadRegDefault(hCommand, pszCommandLine, COMMAND_LINE_CAPACITY);
        CloseRegKey(hCommand);
    }
    CloseRegKey(hVerb);
    return fRegistered;
}

bool WriteAssociation(const char* pszExtension, const char* pszMenuText, const char* pszCommandLine)
{
    HKEY hFileType;
    if (!OpenFileTypeKey(pszExtension, &hFileType))
        return false;
    HKEY hShell;
    HKEY hVerb;
    HKEY hCommand;
    bool fWritten = false;
    if (CreateRegKey(hFileType, SHELL_KEY_NAME, &hShell))
    {
        if (CreateRegKey(hShell, VERB_NAME, &hVerb))
        {
            WriteRegDefault(hVerb, pszMenuText);
            if (CreateRegKey(hVerb, COMMAND_KEY_NAME, &hCommand))
            {
                WriteRegDefault(hCommand, pszCommandLine);
                CloseRegKey(hCommand);
                fWritten = true;
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
    if (!OpenShellKey(pszExtension, &hShell))
        return false;
    HKEY hVerb;
    if (RegKeyExists(hShell, VERB_NAME) && OpenRegKey(hShell, VERB_NAME, &hVerb))
    {
        // A verb that holds other subkeys stays: the platform deletes only
        // keys without subkeys, and nothing here is recursive.
        if (RegKeyExists(hVerb, COMMAND_KEY_NAME))
            DeleteRegKey(hVerb, COMMAND_KEY_NAME);
        CloseRegKey(hVerb);
        DeleteRegKey(hShell, VERB_NAME);
    }
    CloseRegKey(hShell);
    return true;
}

bool LoadAssociations(AssociationSet* pSet)
{
    pSet->flags = 0;
    for (const ExtensionInfo& info : ExtensionTable)
    {
        AssociationEntry& entry = EntryOf(pSet, info);
        entry.location[0] = '\0';
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

bool ApplyAssociations(const AssociationSet* pNewSet, uint32_t uChanged)
{
    for (const ExtensionInfo& info : ExtensionTable)
    {
        if (!(uChanged & info.bit))
            continue;
        const AssociationEntry& entry = EntryOf(pNewSet, info);
        if (pNewSet->flags & info.bit)
            WriteAssociation(info.extension, entry.menuText, entry.commandLine);
        else
            RemoveAssociation(info.extension);
    }
    return true;
}
