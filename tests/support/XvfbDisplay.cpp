#include "tests/support/XvfbDisplay.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// Xvfb listens on /tmp/.X11-unix/X<n> once it is up.
bool CanConnect(int number)
{
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        return false;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
    std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    close(s);
    return ok;
}

bool InUse(int number)
{
    struct stat st;
    std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
    std::string sock = "/tmp/.X11-unix/X" + std::to_string(number);
    return stat(lock.c_str(), &st) == 0 || stat(sock.c_str(), &st) == 0;
}

}  // namespace

XvfbDisplay::XvfbDisplay()
{
    const char* existing = std::getenv("DISPLAY");
    if (existing && *existing) {
        name_ = existing;
        ready_ = true;
        return;
    }
    // Display numbers from a spread start, so that parallel test programs rarely collide; Xvfb
    // itself refuses a number that another server took first, and the next one is tried.
    int start = 100 + static_cast<int>(getpid() % 400);
    for (int attempt = 0; attempt < 50 && !ready_; ++attempt) {
        int number = start + attempt;
        if (InUse(number)) {
            continue;
        }
        std::string display = ":" + std::to_string(number);
        pid_t pid = fork();
        if (pid == 0) {
            int devnull = open("/dev/null", O_RDWR);
            dup2(devnull, 1);
            dup2(devnull, 2);
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid < 0) {
            return;
        }
        // Wait for the server to listen, or to give up on this number.
        bool ended = false;
        for (int i = 0; i < 200; ++i) {
            if (CanConnect(number)) {
                server_ = pid;
                name_ = display;
                ready_ = true;
                break;
            }
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                ended = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        if (!ready_ && !ended) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    if (ready_) {
        owner_ = getpid();
        setenv("DISPLAY", name_.c_str(), 1);
    }
}

XvfbDisplay::~XvfbDisplay()
{
    // A forked child that ends normally must not take the parent's server with it.
    if (server_ > 0 && getpid() == owner_) {
        kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
        unsetenv("DISPLAY");
    }
}
