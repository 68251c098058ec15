#pragma once
// Icons of the framework: images the program draws itself, handed out as HICON.
#include <cstdint>

#include "platform/mfc/MfcWin32.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

// An icon from 32-bit ARGB pixels (alpha in the top byte), rows top to bottom; null on failure.
HICON AfxCreateIcon(int width, int height, const std::uint32_t* argb);
// The image behind an icon of AfxCreateIcon, or null for anything else.
GdkPixbuf* AfxIconPixbuf(HICON icon);
