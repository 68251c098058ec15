#pragma once
// Kernel and user services: named mutexes, waits, threads, files and folders, the program's
// string resources, message boxes and private profile (INI) files.
#include "platform/win32/Win32Types.h"

// Error codes (GetLastError).
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_NOT_OWNER = 288;

// Waits.
constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000u;
constexpr DWORD WAIT_ABANDONED = 0x00000080u;
constexpr DWORD WAIT_TIMEOUT = 0x00000102u;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD QS_ALLINPUT = 0x04FF;

// Message boxes.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

DWORD GetLastError();
void SetLastError(DWORD error);

HANDLE CreateMutexA(SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, LPCSTR name);
BOOL ReleaseMutex(HANDLE mutex);
BOOL CloseHandle(HANDLE handle);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// Waits for the objects or for input in the calling thread's message queue (WAIT_OBJECT_0 + count).
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);

void Sleep(DWORD milliseconds);

// The C runtime's thread start: the function runs on a new thread with the argument.
UINT_PTR _beginthread(void (*start)(void*), unsigned stackSize, void* argument);
void _endthread();

HMODULE GetModuleHandleA(LPCSTR moduleName);
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
BOOL SetCurrentDirectoryA(LPCSTR path);

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// Turns a path the program built (backslashes allowed) into the host's form.
#include <string>
std::string Win32HostPath(const char* path);
