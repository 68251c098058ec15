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
    // Starts it with these variables taken out of its environment and its error output kept
    // for Errors().
    pid_t StartWithout(const std::vector<std::string>& variables);
    std::string Errors() const;
    // Waits for the process to end; its exit status, or -1 when it did not end in time.
    int Wait(pid_t pid, int timeoutMs);
    // Runs an X tool against the display; returns its exit status.
    int X(const std::string& command);
    // Runs a command (an X tool) and returns what it printed.
    static std::string Output(const std::string& command);
    // Presses Esc on the game's window until the process ends; its exit status, or -1.
    int QuitWithEscape(pid_t pid);

    // The running game's window, found by its property as a second copy would find it, or null
    // when none appears within ten seconds.
    static struct Win32Window* WaitForGameWindow();
    // Waits until the game has drawn a picture (the loading screen or the title, the first in
    // colour on its display): the loading scene has begun and read the score file. False when
    // none shows within twenty seconds.
    static bool WaitForFirstPicture();

private:
    pid_t Spawn(char** environment, bool keepErrors);

    std::filesystem::path root;
    std::filesystem::path folder;
    std::vector<pid_t> started;
};
