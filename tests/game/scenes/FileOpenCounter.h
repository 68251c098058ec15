#pragma once
#include <sys/inotify.h>
#include <unistd.h>

#include <string>

// Counts how often one file of a folder is opened, through inotify. The whole folder is watched
// for opens and closes, so that no two queued events are alike and none is merged.
class FileOpenCounter {
public:
    FileOpenCounter(const std::string& folder, std::string name) : name(std::move(name))
    {
        fd = inotify_init1(IN_NONBLOCK);
        watch = inotify_add_watch(fd, folder.c_str(), IN_OPEN | IN_CLOSE);
    }
    ~FileOpenCounter() { close(fd); }
    bool Watching() const { return fd >= 0 && watch >= 0; }
    int Count()
    {
        alignas(inotify_event) char buffer[65536];
        for (;;) {
            ssize_t n = read(fd, buffer, sizeof(buffer));
            if (n <= 0) {
                break;
            }
            for (ssize_t at = 0; at < n;) {
                auto* event = reinterpret_cast<inotify_event*>(buffer + at);
                if ((event->mask & IN_OPEN) && event->len > 0 && name == event->name) {
                    ++opens;
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return opens;
    }

private:
    std::string name;
    int fd = -1;
    int watch = -1;
    int opens = 0;
};
