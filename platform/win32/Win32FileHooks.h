#pragma once
// Seam for tests of safe saving: runs before MoveFileExA renames, so that a test can stop the
// program there (as a crash or power loss would) or make the rename fail.
#include <functional>
#include <string>

// Returns false to make the rename fail with ERROR_ACCESS_DENIED without renaming.
using MoveFileHook = std::function<bool(const std::string& from, const std::string& to)>;
// Installs the hook (an empty function removes it).
void Win32SetMoveFileHook(MoveFileHook hook);
