#pragma once

// Loads every texture and sound effect the whole game shares, on a thread of its own; up to
// four passes, then a report naming the file that kept failing.
void ResourceLoaderThread(void* unused);

// Waits until a just-started loader has entered the game lock's count of workers.
void WaitUntilResourceLoaderCounted();
