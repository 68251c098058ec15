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
#include <fstream>
#include <string>
#include <thread>

namespace {

std::string LockFile(int number)
{
    return "/tmp/.X" + std::to_string(number) + "-lock";
}

bool InUse(int number)
{
    struct stat st;
    return stat(LockFile(number).c_str(), &st) == 0 ||
           stat(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), &st) == 0;
}

// The server that holds the display's lock file, or -1.
pid_t LockHolder(int number)
{
    std::ifstream in(LockFile(number));
    long pid = -1;
    in >> pid;
    return in ? static_cast<pid_t>(pid) : -1;
}

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

}  // namespace

XvfbDisplay::XvfbDisplay()
{
    const char* existing = std::getenv("DISPLAY");
    if (existing && *existing) {
        name_ = existing;
        ready_ = true;
        return;
    }
    // Each test program tries numbers derived from its own process id, so that programs starting
    // side by side never race for the same number; a server counts as ours only once the
    // display's lock file names it and it accepts connections.
    for (int attempt = 0; attempt < 20 && !ready_; ++attempt) {
        int number = 1000 + static_cast<int>((getpid() + attempt * 7919) % 58000);
        if (InUse(number)) {
            continue;
        }
        std::string display = ":" + std::to_string(number);
        pid_t pid = fork();
        if (pid == 0) {
            int devnull = open("/dev/null", O_RDWR);
            dup2(devnull, 0);
            dup2(devnull, 1);
            dup2(devnull, 2);
            // -noreset: the server must not restart (refusing connections) each time its last
            // client leaves, as the programs under test come and go one after another.
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid < 0) {
            return;
        }
        bool ended = false;
        for (int i = 0; i < 800 && !ready_; ++i) {
            if (LockHolder(number) == pid && CanConnect(number)) {
                server_ = pid;
                owner_ = getpid();
                name_ = display;
                ready_ = true;
            } else if (waitpid(pid, nullptr, WNOHANG) == pid) {
                ended = true;
                break;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
            }
        }
        if (!ready_ && !ended) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    if (ready_) {
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
