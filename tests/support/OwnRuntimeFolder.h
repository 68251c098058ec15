#pragma once
#include <string>

// Keeps the names a test program shares with other processes (mutexes, published windows) in a
// folder of its own: made when the object is, named in XDG_RUNTIME_DIR for this process and the
// ones it starts, and removed with everything in it when the object goes. So no test leaves
// anything in the user's own folder, nor meets a game the user is playing meanwhile. Make one
// at namespace scope, before anything uses a shared name.
class OwnRuntimeFolder {
public:
    OwnRuntimeFolder();
    ~OwnRuntimeFolder();
    OwnRuntimeFolder(const OwnRuntimeFolder&) = delete;
    OwnRuntimeFolder& operator=(const OwnRuntimeFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
