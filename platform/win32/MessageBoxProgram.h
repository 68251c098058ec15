#pragma once
// The message box program in the program's folder (platform/msgbox): started with the caption
// and the text for each box, in a process of its own, so that the game holds no GTK state and any
// of its threads may show a box; the calling thread waits until the box is closed.
#include <string>

class MessageBoxProgram {
public:
    // The program's file name in the folder of the module's file (GetModuleFileNameA).
    static constexpr const char* kFileName = "MessageBox";

    explicit MessageBoxProgram(std::string path) : path_(std::move(path)) {}
    // The program beside the running module; an empty path when the module's file name is not
    // an absolute one.
    static MessageBoxProgram BesideModule();

    const std::string& Path() const { return path_; }
    // Shows the box and returns once the user has closed it: true. False at once when no box
    // could be shown: no program there, one that cannot run, or one that found no display.
    // owner: the X window the box belongs to, or 0.
    bool Show(const std::string& caption, const std::string& text, unsigned long owner) const;

private:
    std::string path_;
};
