#include "platform/win32/MessageBoxProgram.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/win32/Win32Kernel.h"

extern char** environ;

namespace {

// A descriptor at 3 or above, so that making it the child's standard output is a real copy
// (a copy onto itself would leave its close-on-exec flag set).
int AboveStandard(int fd)
{
    if (fd < 0 || fd > STDERR_FILENO) {
        return fd;
    }
    int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    close(fd);
    return moved;
}

}  // namespace

MessageBoxProgram MessageBoxProgram::BesideModule()
{
    char module[4096];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof(module));
    if (n == 0 || n >= sizeof(module)) {
        return MessageBoxProgram(std::string());
    }
    std::string path = Win32HostPath(module);
    std::size_t slash = path.rfind('/');
    if (path.empty() || path[0] != '/' || slash == std::string::npos) {
        return MessageBoxProgram(std::string());  // never looked up through PATH or the current folder
    }
    return MessageBoxProgram(path.substr(0, slash + 1) + kFileName);
}

bool MessageBoxProgram::Show(const std::string& caption, const std::string& text, unsigned long owner) const
{
    if (path_.empty() || path_[0] != '/') {
        return false;
    }
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) {
        return false;
    }
    int readEnd = AboveStandard(channel[0]);
    int writeEnd = AboveStandard(channel[1]);
    if (readEnd < 0 || writeEnd < 0) {
        for (int fd : {readEnd, writeEnd}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        return false;
    }

    // The child gets the answer channel as its standard output and none of the game's other
    // descriptors (the single-instance lock, the display, the sound device); signals as a
    // freshly started program has them, whatever this thread blocks or the game handles.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd, STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string ownerText = std::to_string(owner);
    std::vector<char*> args{const_cast<char*>(path_.c_str()), const_cast<char*>(caption.c_str()),
                            const_cast<char*>(text.c_str())};
    if (owner) {
        args.push_back(ownerText.data());
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    int failed = posix_spawn(&pid, path_.c_str(), &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(writeEnd);
    if (failed != 0) {
        close(readEnd);
        return false;
    }

    // The answer comes when the box is closed; the end of the channel without it means no box.
    bool closed = false;
    char c;
    for (;;) {
        ssize_t n = read(readEnd, &c, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n == 1 && c == '1') {
            closed = true;
        }
        if (n <= 0 || closed) {
            break;
        }
    }
    close(readEnd);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return closed;
}
