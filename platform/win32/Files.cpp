// Files and folders. The program sees paths in its own form, with backslashes; every path it
// hands in is turned into the host's form here, and every path handed out uses backslashes.
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32TestHooks.h"

namespace {

std::mutex g_moduleMutex;
std::string g_moduleFileOverride;

std::string ProgramForm(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Copies text into a caller's buffer the way the module and directory calls do.
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0) {
        return 0;
    }
    DWORD n = static_cast<DWORD>(std::min<std::size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
    return n;
}

}  // namespace

std::string Win32HostPath(const char* path)
{
    std::string s = path ? path : "";
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

void Win32SetModuleFileName(const std::string& path)
{
    std::lock_guard lock(g_moduleMutex);
    g_moduleFileOverride = path;
}

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    // Only the program's own module is known by a null name.
    static int self;
    return moduleName ? nullptr : reinterpret_cast<HMODULE>(&self);
}

DWORD GetModuleFileNameA(HMODULE, LPSTR fileName, DWORD size)
{
    std::string path;
    {
        std::lock_guard lock(g_moduleMutex);
        path = g_moduleFileOverride;
    }
    if (path.empty()) {
        char buffer[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
        if (n <= 0) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return 0;
        }
        path.assign(buffer, static_cast<std::size_t>(n));
    }
    path = ProgramForm(path);
    DWORD n = CopyOut(path, fileName, size);
    if (path.size() >= size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    SetLastError(ERROR_SUCCESS);
    return n;
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer)
{
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof(cwd))) {
        return 0;
    }
    std::string path = ProgramForm(cwd);
    if (path.size() + 1 > size || !buffer) {
        return static_cast<DWORD>(path.size() + 1);  // the size the buffer needs
    }
    return CopyOut(path, buffer, size);
}

BOOL SetCurrentDirectoryA(LPCSTR path)
{
    if (!path) {
        return FALSE;
    }
    return chdir(Win32HostPath(path).c_str()) == 0 ? TRUE : FALSE;
}
