#include <map>
#include <mutex>

#include "platform/win32/Win32Resources.h"

namespace {

std::mutex g_iconMutex;
std::map<WORD, HICON>& Icons()
{
    static std::map<WORD, HICON> icons;
    return icons;
}

}  // namespace

void Win32RegisterIcon(WORD id, HICON icon)
{
    std::lock_guard lock(g_iconMutex);
    Icons()[id] = icon;
}

namespace win32 {

HICON FindIconResource(LPCSTR name)
{
    auto value = reinterpret_cast<std::uintptr_t>(name);
    if (value == 0 || value > 0xFFFF) {
        return nullptr;
    }
    std::lock_guard lock(g_iconMutex);
    auto it = Icons().find(static_cast<WORD>(value));
    return it == Icons().end() ? nullptr : it->second;
}

}  // namespace win32
