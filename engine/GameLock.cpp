#include "engine/GameLock.h"

GameLock* g_gameLock = nullptr;

namespace {
GameLock* s_gameLock = nullptr;
}  // namespace

GameLock* GetGameLock()
{
    if (!s_gameLock) {
        s_gameLock = new GameLock;
    }
    return s_gameLock;
}

void DestroyGameLock()
{
    delete s_gameLock;
    s_gameLock = nullptr;
}

GameLock::GameLock() : mutex(CreateMutexA(nullptr, FALSE, "GAME_MUTEX")), quitRequested(0), threadCount(0)
{
    // The name is only what other processes would see; when it cannot be made, a mutex of this
    // process alone still guards the flag and the count between the game's threads.
    if (!mutex) {
        mutex = CreateMutexA(nullptr, FALSE, nullptr);
    }
}

GameLock::~GameLock()
{
    // Shut-down closes the mutex itself; a lock destroyed without it must not keep the handle.
    if (mutex) {
        CloseHandle(mutex);
    }
}

void GameLock::Lock(DWORD timeout, bool plainWait)
{
    if (plainWait) {
        WaitForSingleObject(mutex, timeout);
        return;
    }
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(1, &mutex, FALSE, timeout, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) {
            return;
        }
        if (result == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else if (result == WAIT_FAILED) {
            // Without a usable mutex every wait fails at once; going on unlocked keeps
            // shut-down from hanging.
            return;
        }
    }
}

void GameLock::Unlock()
{
    ReleaseMutex(mutex);
}

void GameLock::RemoveThread()
{
    if (--threadCount < 0) {
        threadCount = 0;
    }
}

void GameLock::Shutdown()
{
    // Raised with or without a mutex: the workers leave only on the flag, and shut-down waits
    // for them.
    Lock(INFINITE, false);
    quitRequested = 1;
    Unlock();
    for (;;) {
        Lock(INFINITE, false);
        if (threadCount == 0) {
            Unlock();
            break;
        }
        Unlock();
    }
    Sleep(10);
    if (mutex) {
        CloseHandle(mutex);
        mutex = nullptr;
    }
    if (g_gameLock == this) {
        g_gameLock = nullptr;
    }
    DestroyGameLock();
}
