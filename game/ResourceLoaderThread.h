#pragma once

// Loads every texture and sound effect the whole game shares, on a thread of its own; up to
// four passes, then a report naming the file that kept failing.
void ResourceLoaderThread(void* unused);
