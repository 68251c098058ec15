#pragma once
// Component basics shared by the interface-based stand-ins: identifiers, the base interface,
// wide characters and the conversion the program uses to build wide paths.
#include <cstring>

#include "platform/win32/Win32Types.h"

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool IsEqualGUID(REFGUID a, REFGUID b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }

// The base of every interface object of the stand-ins (graphics, input, sound, music):
// reference counted; the last Release destroys it.
struct IUnknown {
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106u);

using WCHAR = wchar_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;

// The program's narrow text is UTF-8 on this host (the ANSI code page included). Returns the
// characters written (with the terminator when the input count is -1), 0 on failure.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int textLength, LPWSTR out, int outSize);
// The reverse, for stand-ins that take wide paths and open host files.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int textLength, LPSTR out, int outSize,
                        LPCSTR defaultChar, BOOL* usedDefault);
