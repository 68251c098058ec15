#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/GameLock.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/support/OwnRuntimeFolder.h"

namespace {

// Names are seen across the user's processes: a folder of its own keeps other runs out.
OwnRuntimeFolder g_runtime;

std::atomic<int> g_windowMessages{0};

LRESULT CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER) {
        ++g_windowMessages;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A worker as the music and loader threads run: enters the count, works, leaves the count.
void Worker(std::atomic<bool>* left, int workMs)
{
    GameLock* lock = GetGameLock();
    lock->Lock(INFINITE, true);
    lock->AddThread();
    lock->Unlock();
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(workMs));
        lock->Lock(INFINITE, true);
        bool quit = lock->IsQuitRequested() != 0;
        if (quit) {
            *left = true;
            lock->RemoveThread();
            lock->Unlock();
            return;
        }
        lock->Unlock();
    }
}

TEST(GameLockTest, ShutdownWaitsForEveryWorkerAndKeepsWindowsAlive)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = "GameLockTestWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "GameLockTestWindow", "t", WS_CAPTION, 0, 0, 64, 64, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    GameLock* lock = GetGameLock();
    std::atomic<bool> leftA{false}, leftB{false};
    // Both workers are counted before shut-down starts, as the threads' first step does.
    std::thread a(Worker, &leftA, 30);
    std::thread b(Worker, &leftB, 80);
    for (int i = 0; i < 200; ++i) {
        lock->Lock(INFINITE, true);
        int n = lock->ThreadCount();
        lock->Unlock();
        if (n == 2) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    PostMessageA(window, WM_USER, 0, 0);
    // Hold the lock elsewhere for a while so that shut-down has to wait on it.
    // It is held before shut-down starts, however late the holder runs on a loaded machine.
    std::atomic<bool> held{false};
    std::thread holder([lock, &held] {
        lock->Lock(INFINITE, true);
        held = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        lock->Unlock();
    });
    while (!held) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    lock->Shutdown();
    EXPECT_TRUE(leftA);
    EXPECT_TRUE(leftB);
    EXPECT_EQ(g_windowMessages.load(), 1) << "messages are dispatched while shut-down waits";
    a.join();
    b.join();
    holder.join();
    DestroyWindow(window);
    // The lock is gone: the next one is new, with a clear quit flag.
    GameLock* fresh = GetGameLock();
    EXPECT_EQ(fresh->IsQuitRequested(), 0);
    DestroyGameLock();
}

TEST(GameLockTest, ThreadCountNeverGoesBelowZero)
{
    GameLock* lock = GetGameLock();
    lock->Lock(INFINITE, true);
    lock->RemoveThread();
    lock->AddThread();
    EXPECT_EQ(lock->ThreadCount(), 1);
    lock->RemoveThread();
    lock->Unlock();
    DestroyGameLock();
}

}  // namespace

// A lock destroyed without shut-down lets go of its mutex all the same.
TEST(GameLockTest, DestroyedLockClosesItsMutex)
{
    GetGameLock();
    DestroyGameLock();
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "GAME_MUTEX");
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(mutex);
}
