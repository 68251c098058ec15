#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Resources.h"

namespace {

std::mutex g_stringMutex;
std::map<UINT, std::string>& Strings()
{
    static std::map<UINT, std::string> strings;
    return strings;
}

}  // namespace

void Win32RegisterStringTable(const Win32StringResource* table, int count)
{
    std::lock_guard lock(g_stringMutex);
    for (int i = 0; i < count; ++i) {
        Strings()[table[i].id] = table[i].text;
    }
}

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int bufferMax)
{
    std::lock_guard lock(g_stringMutex);
    if (!buffer || bufferMax <= 0) {
        return 0;
    }
    auto it = Strings().find(id);
    if (it == Strings().end()) {
        buffer[0] = 0;
        return 0;
    }
    const std::string& s = it->second;
    std::size_t n = std::min<std::size_t>(s.size(), static_cast<std::size_t>(bufferMax - 1));
    // Never end inside a multi-byte character.
    while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) {
        --n;
    }
    std::memcpy(buffer, s.data(), n);
    buffer[n] = 0;
    return static_cast<int>(n);
}
