#pragma once
// A text string of the program, loadable from its string resources.
#include <string>

#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Window.h"

class CString {
public:
    CString() = default;
    CString(LPCSTR text) : text_(text ? text : "") {}

    // Loads string resource id; FALSE (and empty) when the program has no such string.
    BOOL LoadString(UINT id);
    bool IsEmpty() const { return text_.empty(); }
    int GetLength() const { return static_cast<int>(text_.size()); }
    operator LPCSTR() const { return text_.c_str(); }

private:
    std::string text_;
};
