#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

// A copy of the program folder in a folder of its own, and the program started from it, with
// its own display and its own window registry so that nothing else on the machine interferes.
class ProgramRun {
public:
    ProgramRun();
    ~ProgramRun();

    const std::filesystem::path& Folder() const { return folder; }
    // Starts the program (from another current folder, as a player might); returns its pid.
    pid_t Start();
    // Waits for the process to end; its exit status, or -1 when it did not end in time.
    int Wait(pid_t pid, int timeoutMs);
    // Runs an X tool against the display; returns its exit status.
    int X(const std::string& command);

private:
    std::filesystem::path root;
    std::filesystem::path folder;
    std::vector<pid_t> started;
};
