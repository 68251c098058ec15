#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/win32/Win32.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

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
