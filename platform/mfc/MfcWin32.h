#pragma once
// The user-interface calls and constants of the Windows interface that dialog programs use beyond
// the window layer: buttons, commands, the system menu, icons and painting.
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/Win32Resources.h"

using INT_PTR = std::intptr_t;

constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;

// WM_SETICON.
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// Buttons.
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr WORD BN_CLICKED = 0;

// System commands (the low four bits are the system's own).
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_RESTORE = 0xF120;

// Menus.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr WPARAM MAKEWPARAM(WORD low, WORD high)
{
    return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

// Readies the controls of dialogs (the toolkit behind them).
void InitCommonControls();
// The window of the dialog's control with this id, or null.
HWND GetDlgItem(HWND dialog, int id);
// The window's system menu; revert restores the menu's own items and returns null.
HMENU GetSystemMenu(HWND window, BOOL revert);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
// Draws the icon with its top-left corner at (x, y).
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
