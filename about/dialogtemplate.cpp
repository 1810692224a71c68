// The in-memory dialog template writer: one walk over the description that
// either measures (no buffer) or fills a buffer of a stated capacity, and the
// About box description built with it.
#include "about/dialogtemplate.h"

#include <stdlib.h>

namespace
{

// A template is 16-bit little-endian words; positions count words.
const size_t WORD_SIZE = 2;
const size_t HEADER_WORDS = 9;  // dialog and control headers: 18 bytes each
const DialogNameOrOrdinal ORDINAL_LIMIT = 0x10000;

struct TemplateWriter
{
    unsigned char* pBuffer;  // null while measuring
    size_t nCapacity;        // bytes
};

bool Fits(const TemplateWriter& writer, size_t nWord, size_t nWords)
{
    return !writer.pBuffer || (nWord + nWords) * WORD_SIZE <= writer.nCapacity;
}

void Store(const TemplateWriter& writer, size_t nWord, uint16_t value)
{
    if (writer.pBuffer)
    {
        writer.pBuffer[nWord * WORD_SIZE] = static_cast<unsigned char>(value & 0xFF);
        writer.pBuffer[nWord * WORD_SIZE + 1] = static_cast<unsigned char>(value >> 8);
    }
}

void StoreLong(const TemplateWriter& writer, size_t nWord, uint32_t value)
{
    Store(writer, nWord, static_cast<uint16_t>(value & 0xFFFF));
    Store(writer, nWord + 1, static_cast<uint16_t>(value >> 16));
}

size_t WriteWord(const TemplateWriter& writer, size_t nWord, uint16_t value)
{
    if (!Fits(writer, nWord, 1))
        return 0;
    Store(writer, nWord, value);
    return 1;
}

// The characters and the terminating 0 word; a null string is the empty one.
size_t WriteString(const TemplateWriter& writer, size_t nWord, const char16_t* psz)
{
    size_t nLength = 0;
    while (psz && psz[nLength])
        ++nLength;
    if (!Fits(writer, nWord, nLength + 1))
        return 0;
    for (size_t i = 0; i < nLength; ++i)
        Store(writer, nWord + i, static_cast<uint16_t>(psz[i]));
    Store(writer, nWord + nLength, 0);
    return nLength + 1;
}

size_t WriteOrdinal(const TemplateWriter& writer, size_t nWord, uint16_t ordinal)
{
    size_t nWords = WriteWord(writer, nWord, DIALOG_ORDINAL_MARKER);
    return nWords + WriteWord(writer, nWord + nWords, ordinal);
}

bool IsOrdinal(DialogNameOrOrdinal value)
{
    return value < ORDINAL_LIMIT;
}

size_t WriteClassOrdinalOrName(const TemplateWriter& writer, size_t nWord, DialogNameOrOrdinal value)
{
    if (IsOrdinal(value))
        return WriteOrdinal(writer, nWord, static_cast<uint16_t>(value));
    return WriteString(writer, nWord, reinterpret_cast<const char16_t*>(value));
}

// Menu and class of the dialog, title of a control: 0 is the single word 0.
size_t WriteNameOrOrdinal(const TemplateWriter& writer, size_t nWord, DialogNameOrOrdinal value)
{
    if (!value)
        return WriteWord(writer, nWord, 0);
    return WriteClassOrdinalOrName(writer, nWord, value);
}

size_t WriteAlignment(const TemplateWriter& writer, size_t nWord)
{
    return nWord % 2 ? WriteWord(writer, nWord, 0) : 0;
}

size_t WriteDialogHeader(const TemplateWriter& writer, const DialogDesc& desc)
{
    if (!Fits(writer, 0, HEADER_WORDS))
        return 0;
    StoreLong(writer, 0, desc.style);
    StoreLong(writer, 2, desc.exStyle);
    Store(writer, 4, desc.itemCount);
    Store(writer, 5, static_cast<uint16_t>(desc.x));
    Store(writer, 6, static_cast<uint16_t>(desc.y));
    Store(writer, 7, static_cast<uint16_t>(desc.cx));
    Store(writer, 8, static_cast<uint16_t>(desc.cy));
    return HEADER_WORDS;
}

size_t WriteItemHeader(const TemplateWriter& writer, size_t nWord, const DialogItemDesc& item)
{
    if (!Fits(writer, nWord, HEADER_WORDS))
        return 0;
    StoreLong(writer, nWord, item.style | static_cast<uint32_t>(WS_CHILD));
    StoreLong(writer, nWord + 2, item.exStyle);
    Store(writer, nWord + 4, static_cast<uint16_t>(item.x));
    Store(writer, nWord + 5, static_cast<uint16_t>(item.y));
    Store(writer, nWord + 6, static_cast<uint16_t>(item.cx));
    Store(writer, nWord + 7, static_cast<uint16_t>(item.cy));
    Store(writer, nWord + 8, item.id);
    return HEADER_WORDS;
}

size_t WriteItem(const TemplateWriter& writer, size_t nWord, const DialogItemDesc& item)
{
    size_t nPosition = nWord;
    nPosition += WriteItemHeader(writer, nPosition, item);
    nPosition += WriteClassOrdinalOrName(writer, nPosition, item.className);
    nPosition += WriteNameOrOrdinal(writer, nPosition, item.title);
    nPosition += WriteWord(writer, nPosition, 0);  // no creation data
    nPosition += WriteAlignment(writer, nPosition);
    return nPosition - nWord;
}

}  // namespace

size_t WriteDialogTemplate(const DialogDesc* pDesc, const DialogItemDesc* pItems, unsigned char* pBuffer,
                           size_t nCapacity)
{
    const TemplateWriter writer = {pBuffer, nCapacity};
    size_t nPosition = WriteDialogHeader(writer, *pDesc);
    nPosition += WriteNameOrOrdinal(writer, nPosition, pDesc->menu);
    nPosition += WriteNameOrOrdinal(writer, nPosition, pDesc->className);
    nPosition += WriteString(writer, nPosition, pDesc->title);
    if (pDesc->faceName)
    {
        nPosition += WriteWord(writer, nPosition, pDesc->pointSize);
        nPosition += WriteString(writer, nPosition, pDesc->faceName);
    }
    nPosition += WriteAlignment(writer, nPosition);
    for (uint16_t i = 0; i < pDesc->itemCount; ++i)
        nPosition += WriteItem(writer, nPosition, pItems[i]);
    return nPosition;
}

void* BuildDialogTemplate(const DialogDesc* pDesc, const DialogItemDesc* pItems, size_t* pcbTemplate)
{
    const size_t cbTemplate = WriteDialogTemplate(pDesc, pItems, nullptr, 0) * WORD_SIZE;
    unsigned char* pTemplate = static_cast<unsigned char*>(malloc(cbTemplate));
    if (!pTemplate)
        return nullptr;
    WriteDialogTemplate(pDesc, pItems, pTemplate, cbTemplate);
    if (pcbTemplate)
        *pcbTemplate = cbTemplate;
    return pTemplate;
}

void* BuildAboutTemplate(size_t* pcbTemplate)
{
    const DialogNameOrOrdinal EMPTY = reinterpret_cast<DialogNameOrOrdinal>(u"");
    const uint32_t TEXT_STYLE = WS_CHILD | WS_VISIBLE | SS_LEFT;
    const DialogItemDesc ITEMS[] = {
        {DIALOG_CLASS_STATIC, EMPTY, WS_CHILD | WS_VISIBLE | SS_ICON, 0, 7, 7, 20, 21, IDC_ABOUT_ICON},
        {DIALOG_CLASS_STATIC, EMPTY, TEXT_STYLE, 0, 30, 7, 1, 8, IDC_ABOUT_VERSION},
        {DIALOG_CLASS_STATIC, EMPTY, TEXT_STYLE, 0, 30, 16, 1, 8, IDC_ABOUT_LINK},
        {DIALOG_CLASS_STATIC, EMPTY, TEXT_STYLE, 0, 30, 25, 1, 8, IDC_ABOUT_RESOURCES},
        {DIALOG_CLASS_BUTTON, reinterpret_cast<DialogNameOrOrdinal>(u"OK"),
         WS_CHILD | WS_VISIBLE | WS_GROUP | BS_DEFPUSHBUTTON, 0, 45, 35, 45, 14, IDOK},
    };
    DialogDesc desc = {};
    desc.style =
        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CONTEXTHELP | DS_MODALFRAME | DS_SETFONT | DS_SYSMODAL;
    desc.itemCount = sizeof ITEMS / sizeof ITEMS[0];
    desc.cx = 38;
    desc.cy = 56;
    desc.title = u"";
    desc.faceName = u"ＭＳ Ｐゴシック";
    desc.pointSize = 9;
    return BuildDialogTemplate(&desc, ITEMS, pcbTemplate);
}
