#pragma once
// Per-thread message queues (internal to the window layer and its waits).
#include <thread>

#include "platform/win32/Win32Window.h"

namespace win32 {

void PostToThread(std::thread::id thread, const MSG& msg);
// True when the calling thread has a message waiting (or, on the window thread, an SDL event).
bool HasInput();
// Wakes threads that wait for input in MsgWaitForMultipleObjects.
void NotifyInput();

}  // namespace win32
