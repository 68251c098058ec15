#pragma once
// A named pipe where a file is expected. Opening a pipe for reading waits for a writer, so a
// reader that opens it plainly would hang the test; the guard notices that and, after a generous
// wait, opens the writing end itself to let the reader go, so such a test fails instead of hanging.
#include <atomic>
#include <string>
#include <thread>

class FifoInPlace {
public:
    // Makes the pipe at path (which must not exist).
    explicit FifoInPlace(std::string path);
    // Stops the guard and removes the pipe.
    ~FifoInPlace();

    // Runs call; true when it returned without the guard having to release a blocked open.
    template <typename Call>
    bool ReturnsWithoutBlocking(Call call)
    {
        Arm();
        call();
        return Disarm();
    }

    bool Made() const { return made_; }

private:
    void Arm();
    bool Disarm();

    std::string path_;
    bool made_ = false;
    std::atomic<bool> done_{false};
    std::atomic<bool> released_{false};
    std::thread guard_;
};
