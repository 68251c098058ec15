#include "platform/win32/Win32Clock.h"

#include <chrono>
#include <thread>

#include "platform/win32/Win32Kernel.h"

namespace {

class RealClock : public Win32Clock {
public:
    std::uint32_t NowMs() override
    {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<std::uint32_t>(ms.count());
    }
    void SleepMs(std::uint32_t ms) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

RealClock g_realClock;
std::atomic<Win32Clock*> g_clock{&g_realClock};

}  // namespace

Win32Clock& CurrentClock()
{
    return *g_clock.load();
}

void SetClock(Win32Clock* clock)
{
    g_clock.store(clock ? clock : &g_realClock);
}

void VirtualClock::SleepMs(std::uint32_t ms)
{
    now_ += ms;
    slept_ += ms;
    // Other threads still get their turn, as a real sleep would give them.
    std::this_thread::yield();
}

void Sleep(DWORD milliseconds)
{
    CurrentClock().SleepMs(milliseconds);
}
