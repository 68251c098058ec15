// Conversion between the program's narrow (UTF-8) text and wide characters.
#include <string>

#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Kernel.h"

namespace {

// Decodes one UTF-8 sequence; malformed bytes become U+FFFD, one byte at a time.
char32_t DecodeOne(const unsigned char* s, int n, int& used)
{
    unsigned char c = s[0];
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || len > n) {
        used = 1;
        return 0xFFFD;
    }
    char32_t v = len == 1 ? c : c & (0x7F >> len);
    for (int i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            used = 1;
            return 0xFFFD;
        }
        v = (v << 6) | (s[i] & 0x3F);
    }
    used = len;
    return v;
}

void EncodeOne(char32_t v, std::string& out)
{
    if (v < 0x80) {
        out += static_cast<char>(v);
    } else if (v < 0x800) {
        out += static_cast<char>(0xC0 | (v >> 6));
        out += static_cast<char>(0x80 | (v & 0x3F));
    } else if (v < 0x10000) {
        out += static_cast<char>(0xE0 | (v >> 12));
        out += static_cast<char>(0x80 | ((v >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (v & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (v >> 18));
        out += static_cast<char>(0x80 | ((v >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((v >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (v & 0x3F));
    }
}

}  // namespace

int MultiByteToWideChar(UINT, DWORD, LPCSTR text, int textLength, LPWSTR out, int outSize)
{
    if (!text || textLength == 0 || outSize < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int n = textLength < 0 ? static_cast<int>(std::char_traits<char>::length(text)) + 1 : textLength;
    std::wstring wide;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; i < n;) {
        int used = 1;
        wide += static_cast<wchar_t>(DecodeOne(s + i, n - i, used));
        i += used;
    }
    if (outSize == 0) {
        return static_cast<int>(wide.size());
    }
    if (!out || static_cast<int>(wide.size()) > outSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    wide.copy(out, wide.size());
    return static_cast<int>(wide.size());
}

int WideCharToMultiByte(UINT, DWORD, LPCWSTR text, int textLength, LPSTR out, int outSize, LPCSTR, BOOL* usedDefault)
{
    if (usedDefault) {
        *usedDefault = FALSE;
    }
    if (!text || textLength == 0 || outSize < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int n = textLength < 0 ? static_cast<int>(std::char_traits<wchar_t>::length(text)) + 1 : textLength;
    std::string narrow;
    for (int i = 0; i < n; ++i) {
        EncodeOne(static_cast<char32_t>(text[i]), narrow);
    }
    if (outSize == 0) {
        return static_cast<int>(narrow.size());
    }
    if (!out || static_cast<int>(narrow.size()) > outSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    narrow.copy(out, narrow.size());
    return static_cast<int>(narrow.size());
}
