// Dialog templates built in memory: a dialog and its controls described in two
// plain records become a classic (DLGTEMPLATE) template in one heap block, ready
// for DialogBoxIndirectParamA. Needs no Win32, so the host build tests it too.
#ifndef QUORZEL_ABOUT_DIALOGTEMPLATE_H
#define QUORZEL_ABOUT_DIALOGTEMPLATE_H

#include <stddef.h>
#include <stdint.h>

#include "TOOLS/platform.h"

#ifndef _WIN32
// The window, dialog and control styles that templates are made of.
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_GROUP 0x00020000L
#define DS_SYSMODAL 0x02L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_CONTEXTHELP 0x2000L
#define SS_LEFT 0x00000000L
#define SS_ICON 0x00000003L
#define BS_DEFPUSHBUTTON 0x00000001L
#define IDOK 1
#endif

// A pointer-or-ordinal field: 0, an ordinal below 0x10000, or the address of a
// NUL-terminated 16-bit string. Pointer-sized, so that it holds an address.
typedef uintptr_t DialogNameOrOrdinal;

// Ordinals of the predefined control classes.
const uint16_t DIALOG_CLASS_BUTTON = 0x0080;
const uint16_t DIALOG_CLASS_STATIC = 0x0082;

// The marker word that introduces an ordinal in a template.
const uint16_t DIALOG_ORDINAL_MARKER = 0xFFFF;

// The About box controls.
const uint16_t IDC_ABOUT_ICON = 100;
const uint16_t IDC_ABOUT_VERSION = 101;
const uint16_t IDC_ABOUT_LINK = 102;
const uint16_t IDC_ABOUT_RESOURCES = 103;

// The dialog. The style is copied as it is: a description with a face name
// must carry DS_SETFONT itself.
struct DialogDesc
{
    uint32_t style;
    uint32_t exStyle;
    uint16_t itemCount;             // exactly this many DialogItemDesc records are read
    int16_t x, y, cx, cy;           // dialog units
    DialogNameOrOrdinal className;  // 0: the standard dialog class
    const char16_t* title;          // null: the empty caption
    DialogNameOrOrdinal menu;       // 0: no menu
    const char16_t* faceName;       // null: no font record
    uint16_t pointSize;             // only with a face name
};

// One control. WS_CHILD is added to its style.
struct DialogItemDesc
{
    DialogNameOrOrdinal className;  // an ordinal (0 included) unless it is an address
    DialogNameOrOrdinal title;      // 0: empty text; an ordinal (an icon static's); or a string
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, cx, cy;  // dialog units
    uint16_t id;
};

// Writes the template into pBuffer without going past nCapacity bytes and
// returns the number of 16-bit words taken; with a null buffer and capacity 0
// it only measures. A piece that does not fit is left out and counts nothing.
size_t WriteDialogTemplate(const DialogDesc* pDesc, const DialogItemDesc* pItems, unsigned char* pBuffer,
                           size_t nCapacity);

// Measures, allocates with malloc and fills the template; null when the block
// cannot be had. The caller frees it. pcbTemplate, when given, receives its size.
void* BuildDialogTemplate(const DialogDesc* pDesc, const DialogItemDesc* pItems, size_t* pcbTemplate = nullptr);

// The About box: icon, version line, link line, free-resources line and OK.
void* BuildAboutTemplate(size_t* pcbTemplate = nullptr);

#endif
