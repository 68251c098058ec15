#include "tests/support/FifoInPlace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

FifoInPlace::FifoInPlace(std::string path) : path_(std::move(path))
{
    made_ = mkfifo(path_.c_str(), 0644) == 0;
}

FifoInPlace::~FifoInPlace()
{
    Disarm();
    unlink(path_.c_str());
}

void FifoInPlace::Arm()
{
    done_ = false;
    released_ = false;
    guard_ = std::thread([this] {
        // Ten seconds is far beyond any open that does not wait.
        for (int i = 0; i < 1000 && !done_; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        while (!done_) {
            // A writer lets a blocked reader's open return; it then reads end of file. A writer's
            // open fails (ENXIO) while nobody reads, so success means someone was waiting.
            int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                released_ = true;
                close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
}

bool FifoInPlace::Disarm()
{
    done_ = true;
    if (guard_.joinable()) {
        guard_.join();
    }
    return !released_;
}
