#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

extern char** environ;

ChildProcess::~ChildProcess()
{
    Stop();
}

bool ChildProcess::Start(const std::vector<std::string>& args, const std::vector<std::string>& env,
                         const std::string& log, const Output& output, const std::string& folder)
{
    Stop();
    // Everything the child needs is made before the fork: it only opens, duplicates and execs.
    std::vector<char*> argv;
    for (const auto& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : env) {
        envp.push_back(const_cast<char*>(e.c_str()));
    }
    envp.push_back(nullptr);
    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The parent may have ended before the line above took effect.
        if (getppid() != parent) {
            _exit(127);
        }
        int in = open("/dev/null", O_RDONLY);
        int err = log.empty() ? 2 : open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        int out = output.fd >= 0          ? output.fd
                  : !output.file.empty() ? open(output.file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)
                  : log.empty()          ? 1
                                         : open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
            (!folder.empty() && chdir(folder.c_str()) != 0)) {
            _exit(127);
        }
        if (output.fd > 2) {
            close(output.fd);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    pid_ = pid;
    return pid > 0;
}

bool ChildProcess::Start(const std::vector<std::string>& args, const std::vector<std::string>& env,
                         const std::string& log)
{
    return Start(args, env, log, Output{});
}

int ChildProcess::Wait()
{
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    pid_t got = waitpid(pid_, &status, 0);
    pid_ = -1;
    return got > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ChildProcess::Running()
{
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) != 0) {
        pid_ = -1;
    }
    return pid_ > 0;
}

bool ChildProcess::WaitUntil(const std::function<bool()>& ready, int tries)
{
    for (int i = 0; i < tries; ++i) {
        if (ready()) {
            return true;
        }
        if (!Running()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

void ChildProcess::Stop()
{
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

int ChildProcess::Run(const std::vector<std::string>& args, const std::vector<std::string>& env,
                      const std::string& log, const Output& output)
{
    ChildProcess child;
    return child.Start(args, env, log, output) ? child.Wait() : -1;
}

int ChildProcess::Run(const std::vector<std::string>& args, const std::vector<std::string>& env,
                      const std::string& log)
{
    return Run(args, env, log, Output{});
}

std::vector<std::string> ChildProcess::Environment(const std::vector<std::pair<std::string, std::string>>& set,
                                                   const std::vector<std::string>& drop)
{
    std::vector<std::string> out;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('='));
        bool gone = std::find(drop.begin(), drop.end(), name) != drop.end() ||
                    std::any_of(set.begin(), set.end(), [&](const auto& v) { return v.first == name; });
        if (!gone) {
            out.push_back(entry);
        }
    }
    for (const auto& [name, value] : set) {
        out.push_back(name + "=" + value);
    }
    return out;
}
