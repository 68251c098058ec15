#pragma once
// Dialog templates: the layout of a dialog as data of the program, in dialog units.
#include <vector>

#include "platform/mfc/MfcWin32.h"

// Dialog and control styles the templates use.
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD WS_GROUP = 0x00020000u;
constexpr DWORD WS_TABSTOP = 0x00010000u;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000u;

enum class DialogItemKind {
    GroupBox,
    AutoRadioButton,
    AutoCheckBox,
    PushButton,
    DefPushButton,
    Text,  // left-aligned static text
    Icon,  // static icon: text is unused, iconId names the icon resource
};

struct DialogItem {
    DialogItemKind kind;
    int id;  // -1 for items no code addresses
    int x, y, cx, cy;
    const char* text;
    DWORD style;
    WORD iconId;
};

struct DialogTemplate {
    UINT id;
    const char* caption;
    DWORD style;
    DWORD exStyle;
    int cx, cy;
    const char* fontName;
    int fontPoints;
    std::vector<DialogItem> items;
};

// Registers a template of the program under its id (before any dialog uses it).
void AfxRegisterDialogTemplate(const DialogTemplate& dialogTemplate);
// The registered template, or null.
const DialogTemplate* AfxFindDialogTemplate(UINT id);
