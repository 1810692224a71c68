// The context-menu verb that offers the conversion on ".cur" and ".ico" files:
// the in-memory record of both associations, and reading, writing, removing,
// comparing and applying them in the registry under HKEY_CLASSES_ROOT.
#ifndef QUORZEL_ASSOCIATION_ASSOCIATIONS_H
#define QUORZEL_ASSOCIATION_ASSOCIATIONS_H

#include <stdint.h>

#include <windows.h>

// Bits of AssociationSet::flags.
const uint32_t ASSOCIATION_CUR = 1;
const uint32_t ASSOCIATION_ICO = 2;

// Group numbers: the extension's control group in the association dialog;
// group - ASSOCIATION_FIRST_GROUP is the index of its entry in a set.
const int GROUP_CUR = 1000;
const int GROUP_ICO = 1001;
const int ASSOCIATION_FIRST_GROUP = GROUP_CUR;
const unsigned ASSOCIATION_COUNT = 2;

// Capacities in bytes, terminator included.
const unsigned LOCATION_CAPACITY = 523;
const unsigned MENU_TEXT_CAPACITY = 32768;
const unsigned COMMAND_LINE_CAPACITY = 1025;
const unsigned FILE_TYPE_NAME_CAPACITY = 522;

// The verb's key name under "shell", and its menu text where none is set.
const char VERB_NAME[] = "quorzel";
const char DEFAULT_MENU_TEXT[] = "C++ コードの取得";

struct ExtensionInfo
{
    int group;
    uint32_t bit;
    const char* extension;  // with its leading dot
};

// Both extensions in the order sets are loaded, compared and applied.
extern const ExtensionInfo ExtensionTable[ASSOCIATION_COUNT];

// The index of the extension's entry in a set, and of its error from
// ApplyAssociations.
inline unsigned EntryIndex(const ExtensionInfo& info)
{
    return static_cast<unsigned>(info.group - ASSOCIATION_FIRST_GROUP);
}

struct AssociationEntry
{
    char location[LOCATION_CAPACITY];         // the verb's key, shown by the dialog only
    char menuText[MENU_TEXT_CAPACITY];        // default value of the verb key
    char commandLine[COMMAND_LINE_CAPACITY];  // default value of the verb's "command" key
};

// A plain value of about 67 KB: keep it static or on the heap.
struct AssociationSet
{
    uint32_t flags;                               // ASSOCIATION_CUR, ASSOCIATION_ICO: registered, or to be
    AssociationEntry entries[ASSOCIATION_COUNT];  // index = group - ASSOCIATION_FIRST_GROUP
};

// The quoted program path, a space and "%1" quoted, into a buffer of
// COMMAND_LINE_CAPACITY bytes (cut and terminated there); gives the length
// + 1 of the whole text. With a null buffer it only measures. The path is
// the short form where the ANSI code page spells only that; where it spells
// neither, the text is empty and the result 0.
unsigned BuildDefaultCommandLine(char* pBuffer);
// The same for a given program path.
unsigned BuildCommandLineFor(const char* pszProgramPath, char* pBuffer);

// The key that holds the extension's "shell": the file type its key names,
// when that key exists, else the extension key. Always true.
bool GetFileTypeKeyName(const char* pszExtension, char* pszName);
// Open the file-type key with the access asked for, or its "shell" or
// "shell\quorzel" for reading; the outer keys are closed again. The caller
// closes the key returned.
bool OpenFileTypeKey(const char* pszExtension, REGSAM samAccess, HKEY* phKey);
bool OpenShellKey(const char* pszExtension, HKEY* phKey);
bool OpenVerbKey(const char* pszExtension, HKEY* phKey);

// True when the verb and its "command" can be opened; fills both texts, with
// as much of a value too long for its field as fits.
bool ReadAssociation(const char* pszExtension, char* pszMenuText, char* pszCommandLine);
// Both extensions from the registry, the defaults where not registered, and
// the key each verb is in or would be written to.
bool LoadAssociations(AssociationSet* pSet);
// The bits of the extensions switched on or off, or registered in both sets
// with a different menu text or command line.
uint32_t GetChangedAssociations(const AssociationSet* pNewSet, const AssociationSet* pOldSet);
// Writes or removes each extension whose bit is in uChanged, nothing else, and
// all of it or nothing: true when every change was made; else the registry is
// as it was, and adwErrors holds, by entry index, the error that stopped each
// extension (ERROR_SUCCESS for the others; ERROR_FILE_NOT_FOUND: there is no
// key for its file type). An extension registered in the old set gets only
// the texts that differ from it; a file type that two extensions share (their
// names open one key) keeps its verb while either is to be registered, and
// for texts that both set, the later one in the table (".cur") is written last.
bool ApplyAssociations(const AssociationSet* pNewSet, const AssociationSet* pOldSet, uint32_t uChanged,
                       DWORD adwErrors[ASSOCIATION_COUNT]);

#endif
