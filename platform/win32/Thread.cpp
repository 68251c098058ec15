#include <SDL.h>

#include <thread>

#include "platform/win32/Win32Kernel.h"

namespace {

// Thrown by _endthread and caught where the thread started, so that the thread's stack unwinds.
struct ThreadExit {};

}  // namespace

UINT_PTR _beginthread(void (*start)(void*), unsigned, void* argument)
{
    if (!start) {
        return static_cast<UINT_PTR>(-1);
    }
    try {
        std::thread thread([start, argument] {
            try {
                start(argument);
            } catch (const ThreadExit&) {
            }
            // SDL keeps per-thread data (its error text) that only its own threads free at their
            // end; this thread is not one of them.
            SDL_TLSCleanup();
        });
        UINT_PTR id = static_cast<UINT_PTR>(thread.native_handle());
        thread.detach();
        return id;
    } catch (...) {
        return static_cast<UINT_PTR>(-1);
    }
}

void _endthread()
{
    throw ThreadExit{};
}
