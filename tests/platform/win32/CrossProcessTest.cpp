#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Win32.h"
#include "platform/win32/WindowRecord.h"
#include "tests/support/OwnRuntimeFolder.h"
#include "tests/support/SpecialFiles.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

OwnRuntimeFolder g_runtime;

// Runs the probe program with these arguments and the given runtime folder; its exit status
// and what it printed.
int RunProbe(const std::vector<std::string>& arguments, const std::string& runtime, std::string* printed = nullptr)
{
    std::string output = fs::temp_directory_path() / ("probe-output-" + std::to_string(getpid()));
    std::vector<char*> args{const_cast<char*>(WIN32_PROBE)};
    for (const std::string& a : arguments) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    std::vector<std::string> variables{"XDG_RUNTIME_DIR=" + runtime};
    for (char** e = environ; *e; ++e) {
        if (std::string(*e).rfind("XDG_RUNTIME_DIR=", 0) != 0) {
            variables.push_back(*e);
        }
    }
    std::vector<char*> environment;
    for (std::string& v : variables) {
        environment.push_back(v.data());
    }
    environment.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = -1;
    int status = -1;
    if (posix_spawn(&child, WIN32_PROBE, &actions, nullptr, args.data(), environment.data()) == 0) {
        waitpid(child, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (printed) {
        std::ifstream in(output);
        std::getline(in, *printed);
    }
    fs::remove(output);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Found {
    const char* prop;
    HWND window;
};

BOOL FindByProp(HWND window, LPARAM lParam)
{
    auto* found = reinterpret_cast<Found*>(lParam);
    if (GetPropA(window, found->prop)) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(const char* prop)
{
    for (int i = 0; i < 500; ++i) {
        Found found{prop, nullptr};
        EnumWindows(FindByProp, reinterpret_cast<LPARAM>(&found));
        if (found.window) {
            return found.window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

template <typename Predicate>
bool WaitFor(Predicate p)
{
    for (int i = 0; i < 300; ++i) {
        if (p()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(CrossProcessTest, NamedMutexAndWindowPropertiesAreSeenByOtherProcesses)
{
    std::string tag = std::to_string(getpid());
    std::string mutexName = "ProbeMutex" + tag;
    std::string prop = "ProbeWindow" + tag;
    std::string stopFile = fs::temp_directory_path() / ("probe-stop-" + tag);
    fs::remove(stopFile);

    pid_t child;
    const char* args[] = {WIN32_PROBE, mutexName.c_str(), prop.c_str(), stopFile.c_str(), nullptr};
    ASSERT_EQ(posix_spawn(&child, WIN32_PROBE, nullptr, nullptr, const_cast<char**>(args), environ), 0);

    HWND remote = WaitForWindow(prop.c_str());
    ASSERT_NE(remote, nullptr);

    // The name is taken by the other process.
    HANDLE mine = CreateMutexA(nullptr, TRUE, mutexName.c_str());
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(mine);

    // Restoring and raising reach the owner.
    EXPECT_FALSE(IsIconic(remote));
    ShowWindow(remote, SW_MINIMIZE);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(remote) != FALSE; }));
    ShowWindow(remote, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(remote) == FALSE; }));
    EXPECT_TRUE(SetForegroundWindow(remote));

    std::ofstream(stopFile) << "stop";
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    fs::remove(stopFile);

    // Gone with its process: the name is free and the window no longer listed.
    HANDLE again = CreateMutexA(nullptr, TRUE, mutexName.c_str());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(again);
    Found found{prop.c_str(), nullptr};
    EnumWindows(FindByProp, reinterpret_cast<LPARAM>(&found));
    EXPECT_EQ(found.window, nullptr);
}

// Whatever a crash or a user left at a mutex's name in the shared folder (a folder, a pipe, a
// device, a link) is neither opened nor in the way: the name is still made, and another process
// still finds it taken.
TEST(CrossProcessTest, LeftOversAtAMutexNameDoNotKeepItFromBeingMade)
{
    const fs::path folder = win32::SharedFolder();
    ASSERT_FALSE(folder.empty());
    const fs::path elsewhere = g_runtime.Path() + "/elsewhere";
    fs::create_directory(elsewhere);
    struct Case {
        const char* name;
        std::function<bool(const fs::path&)> make;  // false when it cannot be made here
    } cases[] = {
        {"a folder", [](const fs::path& at) { return fs::create_directory(at); }},
        {"a named pipe", [](const fs::path& at) { return mkfifo(at.c_str(), 0600) == 0; }},
        {"a socket", [](const fs::path& at) { return MakeSocketAt(at); }},
        {"a character device",
         [](const fs::path& at) { return MakeNullDeviceAt(at); }},
        {"a link to a file elsewhere",
         [&](const fs::path& at) {
             std::ofstream(elsewhere / "file") << "kept";
             fs::create_symlink(elsewhere / "file", at);
             return true;
         }},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "LeftOverMutex" + std::to_string(index++);
        const fs::path at = folder / ("mutex-" + name);
        if (!c.make(at)) {
            ASSERT_NE(geteuid(), 0u) << "could not make it as root";
            continue;
        }
        struct stat before{};
        ASSERT_EQ(lstat(at.c_str(), &before), 0);
        int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(inotify_add_watch(watch, at.c_str(), IN_OPEN | IN_DONT_FOLLOW), 0);
        if (fs::is_symlink(at)) {
            ASSERT_GE(inotify_add_watch(watch, (elsewhere / "file").c_str(), IN_OPEN), 0);
        }

        HANDLE mine = CreateMutexA(nullptr, TRUE, name.c_str());
        ASSERT_NE(mine, nullptr) << "the name could not be made";
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
        EXPECT_EQ(RunProbe({name, "NoWindow", "/nonexistent"}, g_runtime.Path()), 3)
            << "another process did not find the name taken";

        alignas(inotify_event) char events[4096];
        EXPECT_LT(read(watch, events, sizeof(events)), 0) << "it was opened";
        close(watch);
        struct stat after{};
        ASSERT_EQ(lstat(at.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
        CloseHandle(mine);
    }
}

// The shared folder is the user's own: a folder at its name that others may write to, or that
// another user made, or a link, is not used (it could lead the files made there anywhere); the
// next name is, and every process of the user finds the same one.
TEST(CrossProcessTest, SharedFolderIsOneOnlyTheUserCanWriteTo)
{
    const std::string uid = std::to_string(getuid());
    struct Case {
        const char* name;
        std::function<bool(const fs::path&)> make;
    } cases[] = {
        {"a folder anyone may write to",
         [](const fs::path& at) { return fs::create_directory(at) && chmod(at.c_str(), 01777) == 0; }},
        {"a folder of another user's",
         [](const fs::path& at) {
             return geteuid() == 0 && fs::create_directory(at) && chmod(at.c_str(), 0700) == 0 &&
                    chown(at.c_str(), 65534, 65534) == 0;
         }},
        {"a link to a folder",
         [](const fs::path& at) {
             fs::create_directory(at.string() + ".target");
             fs::create_symlink(at.string() + ".target", at);
             return true;
         }},
        {"a file", [](const fs::path& at) { return static_cast<bool>(std::ofstream(at) << "x"); }},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path base = g_runtime.Path() + "/shared-" + std::to_string(index++);
        fs::create_directory(base);
        const fs::path taken = base / ("win32-standin-" + uid);
        if (!c.make(taken)) {
            ASSERT_NE(geteuid(), 0u) << "could not make it as root";
            continue;
        }
        std::string first, second;
        EXPECT_EQ(RunProbe({"shared-folder"}, base.string(), &first), 0);
        EXPECT_EQ(RunProbe({"shared-folder"}, base.string(), &second), 0);
        EXPECT_EQ(first, (base / ("win32-standin-" + uid + "-1")).string());
        EXPECT_EQ(second, first) << "two processes of the user do not meet";
        struct stat info{};
        ASSERT_EQ(stat(first.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        if (fs::is_directory(taken)) {
            EXPECT_TRUE(fs::is_empty(taken)) << "something was made in it";
        }
    }
}

TEST(NamedMutexTest, OwnershipBetweenThreadsOfOneProcess)
{
    HANDLE a = CreateMutexA(nullptr, TRUE, "SameProcessMutex");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE b = CreateMutexA(nullptr, FALSE, "SameProcessMutex");
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);

    DWORD other = 0;
    std::thread t([&] { other = WaitForSingleObject(b, 20); });
    t.join();
    EXPECT_EQ(other, WAIT_TIMEOUT) << "owned by this thread";
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0) << "the owner may take it again";
    EXPECT_TRUE(ReleaseMutex(a));
    EXPECT_TRUE(ReleaseMutex(a));
    EXPECT_FALSE(ReleaseMutex(a));
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);

    std::thread u([&] {
        other = WaitForSingleObject(b, INFINITE);
        ReleaseMutex(b);
    });
    u.join();
    EXPECT_EQ(other, WAIT_OBJECT_0);
    CloseHandle(a);
    CloseHandle(b);
}

}  // namespace
