#pragma once
#include "platform/win32/Win32.h"

// The one lock shared by the main thread and the worker threads (music, resource loader), with
// the quit flag and the count of running workers through which shut-down stops them.
class GameLock {
public:
    GameLock();
    virtual ~GameLock();
    GameLock(const GameLock&) = delete;
    GameLock& operator=(const GameLock&) = delete;

    // plainWait false keeps the calling thread's windows alive while it waits.
    void Lock(DWORD timeout, bool plainWait);
    void Unlock();
    // The caller holds the lock for these three.
    int IsQuitRequested() const { return quitRequested; }
    void AddThread() { ++threadCount; }
    void RemoveThread();
    int ThreadCount() const { return threadCount; }
    // Raises the quit flag, waits until every worker has left, then destroys the lock.
    void Shutdown();

private:
    HANDLE mutex;
    int quitRequested;
    int threadCount;
};

GameLock* GetGameLock();
void DestroyGameLock();

extern GameLock* g_gameLock;
