#include "engine/ThreadStartSignal.h"

void ThreadStartSignal::Signal()
{
    {
        std::lock_guard lock(mutex);
        counted = true;
    }
    signalled.notify_all();
}

void ThreadStartSignal::Wait()
{
    std::unique_lock lock(mutex);
    signalled.wait(lock, [this] { return counted; });
    counted = false;
}
