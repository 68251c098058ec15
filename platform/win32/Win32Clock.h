#pragma once
// The millisecond clock behind Sleep and timeGetTime. Tests install a VirtualClock so that time
// passes only when the program sleeps or the test advances it.
#include <atomic>
#include <cstdint>

class Win32Clock {
public:
    virtual ~Win32Clock() = default;
    virtual std::uint32_t NowMs() = 0;
    virtual void SleepMs(std::uint32_t ms) = 0;
};

// The clock in force; the real one unless a test installed another.
Win32Clock& CurrentClock();
// Installs a clock (nullptr restores the real one). The caller keeps ownership.
void SetClock(Win32Clock* clock);

class VirtualClock : public Win32Clock {
public:
    explicit VirtualClock(std::uint32_t start = 0) : now_(start) {}
    std::uint32_t NowMs() override { return now_.load(); }
    void SleepMs(std::uint32_t ms) override;
    void Advance(std::uint32_t ms) { now_ += ms; }
    void Set(std::uint32_t ms) { now_ = ms; }
    std::uint64_t TotalSleptMs() const { return slept_.load(); }

private:
    std::atomic<std::uint32_t> now_;
    std::atomic<std::uint64_t> slept_{0};
};
