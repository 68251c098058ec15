#include "platform/mfc/CString.h"

#include <vector>

#include "platform/mfc/AfxModuleState.h"

BOOL CString::LoadString(UINT id)
{
    // Grow the buffer until the whole string fits (a string resource is at most 4096 bytes).
    for (int size = 256; size <= 8192; size *= 2) {
        std::vector<char> buffer(static_cast<std::size_t>(size));
        int n = LoadStringA(AfxGetResourceHandle(), id, buffer.data(), size);
        if (n < size - 4) {
            text_.assign(buffer.data(), static_cast<std::size_t>(n));
            return n > 0 ? TRUE : FALSE;
        }
    }
    text_.clear();
    return FALSE;
}
