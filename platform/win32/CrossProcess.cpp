// Windows of other processes: a window that carries properties is published as a small file in
// a folder shared by the user's processes, and requests to it (restore, raise) travel over a
// datagram socket that the owning process reads while it pumps its events.
#include <dirent.h>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/win32/WindowRecord.h"

namespace win32 {

namespace {

int g_socket = -1;

std::string SocketPath(pid_t pid)
{
    return InSharedFolder(std::to_string(pid) + ".sock");
}

std::string WindowFile(pid_t pid, std::uint32_t id)
{
    return InSharedFolder(std::to_string(pid) + "-" + std::to_string(id) + ".win");
}

void OpenSocket()
{
    if (g_socket >= 0) {
        return;
    }
    int s = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0) {
        return;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string path = SocketPath(getpid());
    if (path.empty() || path.size() >= sizeof(addr.sun_path)) {
        close(s);
        return;
    }
    std::strcpy(addr.sun_path, path.c_str());
    unlink(path.c_str());
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        close(s);
        return;
    }
    g_socket = s;
    std::atexit([] { unlink(SocketPath(getpid()).c_str()); });
}

bool ProcessAlive(pid_t pid)
{
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

}  // namespace

std::string SharedFolder()
{
    static std::string folder = [] {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        std::string base = (runtime && *runtime) ? runtime : "/tmp";
        std::string name = base + "/win32-standin-" + std::to_string(getuid());
        // Only a folder of this user's that nobody else may write to will do: one that another
        // user made at the name (in /tmp anyone can) could hold links that send our writes
        // elsewhere. Such a name is passed over for the next of a fixed sequence, which every
        // process of the user walks alike, so they still meet in one folder.
        for (int n = 0; n < 10; ++n) {
            std::string dir = n == 0 ? name : name + "-" + std::to_string(n);
            mkdir(dir.c_str(), 0700);
            struct stat info{};
            if (lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
                (info.st_mode & 077) == 0) {
                return dir;
            }
        }
        return std::string();  // nothing is shared with other processes
    }();
    return folder;
}

std::string InSharedFolder(const std::string& name)
{
    std::string folder = SharedFolder();
    return folder.empty() ? std::string() : folder + "/" + name;
}

void PublishWindow(HWND window)
{
    if (!window || window->remote || window->destroyed || window->child || window->props.empty()) {
        return;
    }
    OpenSocket();
    std::ostringstream text;
    text << "iconic " << (window->iconic ? 1 : 0) << "\n";
    for (auto& [name, value] : window->props) {
        text << "prop " << reinterpret_cast<std::uintptr_t>(value) << " " << name << "\n";
    }
    std::string path = WindowFile(getpid(), window->id);
    if (path.empty()) {
        return;
    }
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << text.str();
        if (!out) {
            return;
        }
    }
    std::rename(temp.c_str(), path.c_str());
    static bool cleanup = [] {
        std::atexit([] {
            std::lock_guard lock(WindowMutex());
            for (HWND w : LocalWindows()) {
                unlink(WindowFile(getpid(), w->id).c_str());
            }
        });
        return true;
    }();
    (void)cleanup;
}

void UnpublishWindow(HWND window)
{
    if (window && !window->remote) {
        unlink(WindowFile(getpid(), window->id).c_str());
    }
}

std::vector<RemoteWindowInfo> ListRemoteWindows()
{
    std::vector<RemoteWindowInfo> result;
    DIR* dir = opendir(SharedFolder().c_str());
    if (!dir) {
        return result;
    }
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() < 5 || name.substr(name.size() - 4) != ".win") {
            continue;
        }
        long pid = 0;
        unsigned long id = 0;
        if (std::sscanf(name.c_str(), "%ld-%lu.win", &pid, &id) != 2) {
            continue;
        }
        if (pid == getpid()) {
            continue;
        }
        if (!ProcessAlive(static_cast<pid_t>(pid))) {
            unlink(InSharedFolder(name).c_str());  // left behind by a process that died
            continue;
        }
        RemoteWindowInfo info{static_cast<pid_t>(pid), static_cast<std::uint32_t>(id), false, {}};
        std::ifstream in(InSharedFolder(name));
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string kind;
            fields >> kind;
            if (kind == "iconic") {
                int v = 0;
                fields >> v;
                info.iconic = v != 0;
            } else if (kind == "prop") {
                std::uintptr_t value = 0;
                std::string prop;
                fields >> value;
                std::getline(fields >> std::ws, prop);
                info.props[prop] = reinterpret_cast<HANDLE>(value);
            }
        }
        result.push_back(info);
    }
    closedir(dir);
    return result;
}

bool SendRemoteRequest(pid_t pid, std::uint32_t id, const std::string& command)
{
    int s = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        return false;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string path = SocketPath(pid);
    if (path.empty() || path.size() >= sizeof(addr.sun_path)) {
        close(s);
        return false;
    }
    std::strcpy(addr.sun_path, path.c_str());
    std::string message = std::to_string(id) + " " + command;
    ssize_t sent = sendto(s, message.data(), message.size(), 0, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    close(s);
    return sent == static_cast<ssize_t>(message.size());
}

bool ReceiveRemoteRequest(std::uint32_t* id, std::string* command)
{
    if (g_socket < 0) {
        return false;
    }
    char buffer[256];
    ssize_t n = recv(g_socket, buffer, sizeof(buffer) - 1, 0);
    if (n <= 0) {
        return false;
    }
    buffer[n] = 0;
    unsigned long windowId = 0;
    char word[64] = {0};
    if (std::sscanf(buffer, "%lu %63s", &windowId, word) != 2) {
        *id = 0;
        command->clear();
        return true;  // a malformed request is dropped
    }
    *id = static_cast<std::uint32_t>(windowId);
    *command = word;
    return true;
}

}  // namespace win32
