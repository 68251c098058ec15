#include "tests/support/XvfbDisplay.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace {

pid_t g_server = 0;
std::string g_name;

void StopServer()
{
    if (g_server > 0) {
        kill(g_server, SIGTERM);
        waitpid(g_server, nullptr, 0);
        g_server = 0;
    }
}

bool SocketExists(int number)
{
    struct stat st;
    std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
    return stat(path.c_str(), &st) == 0;
}

bool LockExists(int number)
{
    struct stat st;
    std::string path = "/tmp/.X" + std::to_string(number) + "-lock";
    return stat(path.c_str(), &st) == 0;
}

bool StartServer();

bool Start()
{
    const char* current = std::getenv("DISPLAY");
    if (current && *current) {
        g_name = current;
        return true;
    }
    return StartServer();
}

bool StartServer()
{
    // A number derived from the process id keeps parallel test programs apart.
    for (int attempt = 0; attempt < 50; ++attempt) {
        int number = 100 + (getpid() + attempt * 7) % 800;
        if (LockExists(number) || SocketExists(number)) {
            continue;
        }
        std::string display = ":" + std::to_string(number);
        pid_t pid = fork();
        if (pid == 0) {
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid < 0) {
            return false;
        }
        for (int i = 0; i < 200; ++i) {
            if (SocketExists(number)) {
                g_server = pid;
                g_name = display;
                setenv("DISPLAY", display.c_str(), 1);
                std::atexit(StopServer);
                return true;
            }
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                break;  // the server gave up (display taken meanwhile): try another number
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return false;
}

}  // namespace

bool XvfbDisplay::Ensure()
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = Start(); });
    return ok;
}

bool XvfbDisplay::EnsurePrivate()
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = g_server > 0 || StartServer(); });
    return ok;
}

std::string XvfbDisplay::Name()
{
    return g_name;
}
