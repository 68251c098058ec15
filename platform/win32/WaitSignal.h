#pragma once
// The one signal that the layer's waits sleep on: a mutex released or a message queued wakes
// every waiter, which then looks again at what it waits for.
#include <condition_variable>

namespace win32 {

std::condition_variable& WaitSignal();

}  // namespace win32
