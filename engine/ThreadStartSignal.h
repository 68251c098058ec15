#pragma once
#include <condition_variable>
#include <mutex>

// Lets the thread that starts a worker wait until the worker has entered the game lock's count
// of running workers, so that a shut-down that follows at once waits for it instead of
// destroying the lock under it.
class ThreadStartSignal {
public:
    // Called by the worker once it is counted.
    void Signal();
    // Called by the starter; returns once the worker signalled, and is ready for the next start.
    void Wait();

private:
    std::mutex mutex;
    std::condition_variable signalled;
    bool counted = false;
};
