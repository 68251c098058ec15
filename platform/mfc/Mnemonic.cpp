#include "platform/mfc/Mnemonic.h"

std::string ToGtkMnemonic(const char* text)
{
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '&') {
            if (p[1] == '&') {
                out += '&';
                ++p;
            } else {
                out += '_';
            }
        } else if (*p == '_') {
            out += "__";
        } else {
            out += *p;
        }
    }
    return out;
}
