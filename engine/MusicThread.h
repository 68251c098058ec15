#pragma once

// The music thread's start routine (started by GameInit with _beginthread): plays the requested
// track and looks for a new request every 500 ms until the quit flag is raised.
void MusicThread(void* argument);

// Waits until a just-started music thread has entered the game lock's count of workers, so that
// a shut-down that follows at once waits for it instead of destroying the lock under it.
void WaitUntilMusicThreadCounted();

// How long the thread sleeps between looks at the request and the quit flag, in milliseconds.
constexpr unsigned kMusicPollMs = 500;
