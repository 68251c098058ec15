#pragma once
// The program's icon and string resources, registered by number at start-up before LoadIconA and
// LoadStringA ask for them.
#include "platform/win32/Win32Types.h"

// A resource number in the place of a resource name.
inline LPCSTR MAKEINTRESOURCEA(WORD id)
{
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id));
}

// The icon is an opaque token that the program's own drawing code understands.
void Win32RegisterIcon(WORD id, HICON icon);

// The program's string resources, registered once at start-up before any LoadStringA.
struct Win32StringResource {
    UINT id;
    const char* text;
};
void Win32RegisterStringTable(const Win32StringResource* table, int count);

namespace win32 {
// The icon registered under a numeric name, or null (named resources are never registered).
HICON FindIconResource(LPCSTR name);
}  // namespace win32
