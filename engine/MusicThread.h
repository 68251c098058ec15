#pragma once

// The music thread's start routine (started by GameInit with _beginthread): plays the requested
// track and looks for a new request every 500 ms until the quit flag is raised.
void MusicThread(void* argument);

// How long the thread sleeps between looks at the request and the quit flag, in milliseconds.
constexpr unsigned kMusicPollMs = 500;
