#pragma once
// Opening the files a user can swap: only a regular file is opened. A named pipe, a device or a
// folder in a file's place (or where its link leads) is turned away before it is opened, since
// opening a device can act on it, and opening never waits, so such a thing is a file that cannot
// be read, not a hang or an exception. Reads are bounded by a size the caller names, checked
// before anything is read.
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// open(2) of hostPath with the given flags (O_NONBLOCK is only used for the open itself) when it
// is or becomes a regular file; -1 otherwise, with errno set (EISDIR for a folder, EINVAL for any
// other kind of file).
int OpenRegularFile(const std::string& hostPath, int flags, int mode = 0644);

// A read-only ("rb") stream on a regular file, or null.
std::FILE* OpenRegularFileStream(const std::string& hostPath);

// The whole of a regular file of at most maxBytes; false (and nothing read) when it is larger,
// not a regular file, or a read fails.
bool ReadRegularFile(const std::string& hostPath, std::size_t maxBytes, std::vector<unsigned char>* bytes);
bool ReadRegularFile(const std::string& hostPath, std::size_t maxBytes, std::string* text);
