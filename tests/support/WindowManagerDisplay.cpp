#include "tests/support/WindowManagerDisplay.h"

#include "tests/support/WindowManager.h"
#include "tests/support/XvfbDisplay.h"

bool WindowManagerDisplay::Ensure(const std::vector<std::string>& command)
{
    static const bool ok = [&] {
        if (!XvfbDisplay::EnsurePrivate()) {
            return false;
        }
        // Stopped at exit, before the server it runs on.
        static WindowManager manager(XvfbDisplay::Name(), command);
        return manager.Ready();
    }();
    return ok;
}
