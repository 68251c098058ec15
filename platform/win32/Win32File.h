#pragma once
// Files by handle: open or create, read, write, size, flush, and renaming and deleting by name.
// A file handle is closed with CloseHandle like every other handle.
#include "platform/win32/Win32Types.h"

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;

// Creation dispositions.
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;

constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080u;
constexpr DWORD FILE_FLAG_RANDOM_ACCESS = 0x10000000u;
constexpr DWORD FILE_FLAG_SEQUENTIAL_SCAN = 0x08000000u;

constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001u;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008u;

constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_DISK_FULL = 112;

struct OVERLAPPED;

// Share mode 0 opens the file for this handle alone: a second open without sharing fails with
// ERROR_SHARING_VIOLATION until the handle is closed.
HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, DWORD* read, OVERLAPPED* overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, DWORD* written, OVERLAPPED* overlapped);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
BOOL FlushFileBuffers(HANDLE file);
BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags);
BOOL DeleteFileA(LPCSTR fileName);
