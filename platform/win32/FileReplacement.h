#pragma once
// Saving a whole file so that a failure or a crash at any point leaves a whole file: the new
// content goes to a temporary file beside the file, is flushed to disk, and only then renamed
// over it (through MoveFileExA, so its test seam applies).
#include <cstddef>
#include <string>

// Replaces the content of the file at hostPath. A symbolic link is written through: the file it
// ends at is the one replaced, and the link stays. An existing file keeps its permission bits;
// a new one is made 0644 less the umask. The temporary file is "<file>.tmp<process id>", and the
// ones that processes which have ended left behind are removed first, so that no left-over can
// stand in a later save's way. Only a regular file is replaced: where the path, after its links,
// holds anything else (a device, a named pipe, a socket, a folder), nothing there is touched and
// the result is false. False, with the old file untouched, when anything fails.
bool ReplaceRegularFile(const std::string& hostPath, const void* bytes, std::size_t size);
