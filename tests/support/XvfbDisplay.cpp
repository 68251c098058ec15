#include "tests/support/XvfbDisplay.h"

#include <cstdlib>

#include "tests/support/XvfbServer.h"

namespace {

std::string g_name;

}  // namespace

bool XvfbDisplay::Ensure()
{
    static const bool ok = [] {
        const char* current = std::getenv("DISPLAY");
        if (current && *current) {
            g_name = current;
            return true;
        }
        return EnsurePrivate();
    }();
    return ok;
}

bool XvfbDisplay::EnsurePrivate()
{
    static const bool ok = [] {
        // Made on first use and stopped at exit, after whatever was started on it later.
        static XvfbServer server(1280, 1024);
        if (!server.Ready()) {
            return false;
        }
        g_name = server.Name();
        setenv("DISPLAY", g_name.c_str(), 1);
        return true;
    }();
    return ok;
}

std::string XvfbDisplay::Name()
{
    return g_name;
}
