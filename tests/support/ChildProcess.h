#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A program started by a test or benchmark (a sound server, a recorder, the game). It ends with
// the process that started it, also when that one is killed or aborts, instead of staying
// behind; it reads nothing, and its errors are appended to a log file (with no log named, they go
// where this process's go). Stop() or the destructor end it.
class ChildProcess {
public:
    // Where the program's output goes: into a descriptor (a pipe's end, say), into a file
    // written afresh, or, with neither, into the log after its errors (or this process's output).
    struct Output {
        int fd = -1;
        std::string file;
    };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the program (looked up on PATH) with that environment, in the given working folder
    // (empty: this process's); false when no process could be made. A program that cannot be
    // run ends at once with status 127.
    bool Start(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& log,
               const Output& output, const std::string& folder = {});
    bool Start(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& log);
    // Waits for the program to end: its exit status, or -1 when it was killed or never started.
    int Wait();
    // Whether it has been started and not yet ended.
    bool Running();
    // Asks ready() up to tries times, 25 ms apart, while the program runs: true once it holds,
    // false when the program ended first or the tries ran out (it is left running then).
    bool WaitUntil(const std::function<bool()>& ready, int tries);
    // Ends it: a polite signal, then a hard one if it lingers for three seconds.
    void Stop();

    // Runs a program to its end: its exit status, or -1.
    static int Run(const std::vector<std::string>& args, const std::vector<std::string>& env,
                   const std::string& log, const Output& output);
    static int Run(const std::vector<std::string>& args, const std::vector<std::string>& env,
                   const std::string& log);
    // This process's environment with the given variables set (in place of their own values)
    // and the named ones left out.
    static std::vector<std::string> Environment(const std::vector<std::pair<std::string, std::string>>& set,
                                                const std::vector<std::string>& drop = {});

private:
    pid_t pid_ = -1;
};
