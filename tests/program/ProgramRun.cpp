#include "tests/program/ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/win32/Win32.h"
#include "tests/support/ScreenCapture.h"
#include "tests/support/XvfbDisplay.h"

extern char** environ;

namespace fs = std::filesystem;

ProgramRun::ProgramRun()
{
    XvfbDisplay::Ensure();
    char pattern[] = "/tmp/program-run-XXXXXX";
    root = mkdtemp(pattern);
    folder = root / "program";
    fs::copy(PROGRAM_DIR, folder, fs::copy_options::recursive);
    fs::create_directory(root / "runtime");
    setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    fs::remove(folder / "Pellmoor.ini");
    fs::remove(folder / "sh.dat");
}

ProgramRun::~ProgramRun()
{
    for (pid_t pid : started) {
        if (kill(pid, 0) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    fs::remove_all(root);
}

pid_t ProgramRun::Start()
{
    return Spawn(environ, false);
}

pid_t ProgramRun::StartWithout(const std::vector<std::string>& variables)
{
    std::vector<std::string> kept;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool removed = false;
        for (const auto& name : variables) {
            removed = removed || entry.rfind(name + "=", 0) == 0;
        }
        if (!removed) {
            kept.push_back(entry);
        }
    }
    std::vector<char*> environment;
    for (auto& entry : kept) {
        environment.push_back(entry.data());
    }
    environment.push_back(nullptr);
    return Spawn(environment.data(), true);
}

std::string ProgramRun::Errors() const
{
    std::ifstream in(root / "stderr.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

pid_t ProgramRun::Spawn(char** environment, bool keepErrors)
{
    std::string program = (folder / "brackle").string();
    std::string errors = (root / "stderr.txt").string();
    const char* args[] = {program.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (keepErrors) {
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawn_file_actions_addchdir_np(&actions, "/");
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, const_cast<char**>(args), environment) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (pid > 0) {
        started.push_back(pid);
    }
    return pid;
}

int ProgramRun::Wait(pid_t pid, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

int ProgramRun::X(const std::string& command)
{
    return std::system(command.c_str());
}

std::string ProgramRun::Output(const std::string& command)
{
    std::string text;
    FILE* p = popen(command.c_str(), "r");
    char buffer[512];
    while (p && fgets(buffer, sizeof(buffer), p)) {
        text += buffer;
    }
    if (p) {
        pclose(p);
    }
    return text;
}

int ProgramRun::QuitWithEscape(pid_t pid)
{
    // The search can name a window that the graphics set-up has just replaced, and then the key
    // goes nowhere: press again until the game ends.
    int status = -1;
    for (int attempt = 0; attempt < 50 && status == -1; ++attempt) {
        X("xdotool search --onlyvisible --name '^Pellmoor$' key --window %1 Escape >/dev/null 2>&1");
        status = Wait(pid, 200);
    }
    // The game can close its window between the press and the release that xdotool sends to
    // it; the release then never reaches the server, the key stays down and repeats into the
    // next game started. Let go of it explicitly.
    X("xdotool keyup Escape >/dev/null 2>&1");
    return status;
}

namespace {

BOOL FindGame(HWND window, LPARAM lParam)
{
    if (GetPropA(window, "KarnTamoWindow")) {
        *reinterpret_cast<HWND*>(lParam) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool ProgramRun::WaitForFirstPicture()
{
    // Before the game draws, its display holds nothing but black, white and grey.
    auto coloured = [](std::uint32_t c) {
        return ((c >> 16) & 255) != ((c >> 8) & 255) || ((c >> 8) & 255) != (c & 255);
    };
    for (int i = 0; i < 400; ++i) {
        ScreenCapture screen = ScreenCapture::Take();
        if (std::any_of(screen.pixels.begin(), screen.pixels.end(), coloured)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

HWND ProgramRun::WaitForGameWindow()
{
    for (int i = 0; i < 1000; ++i) {
        HWND found = nullptr;
        EnumWindows(FindGame, reinterpret_cast<LPARAM>(&found));
        if (found) {
            return found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}
