#include "platform/win32/FileReplacement.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win32/RegularFile.h"
#include "platform/win32/Win32File.h"

namespace {

// As many links as the system itself follows before it gives up on a chain.
constexpr int kMaxLinkHops = 40;

// The folder part of a path with its slash ("" for a bare name, which is in the current folder).
std::string FolderPart(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The path a chain of symbolic links ends at: the path itself when it is no link, and also when
// the end does not exist yet (a link to a file still to be made). A relative link counts from the
// link's own folder. Empty when the chain loops or cannot be read.
std::string FinalTarget(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info{};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        char target[PATH_MAX];
        ssize_t n = readlink(current.c_str(), target, sizeof(target));
        if (n <= 0 || n >= static_cast<ssize_t>(sizeof(target))) {
            return {};
        }
        std::string next(target, static_cast<std::size_t>(n));
        current = next.front() == '/' ? next : FolderPart(current) + next;
    }
    return {};
}

// Removes "<file>.tmp<pid>" left by processes that were killed while saving; the temporary files
// of processes still running are theirs.
void RemoveStaleTemporaries(const std::string& path)
{
    std::string folder = FolderPart(path);
    std::string prefix = path.substr(folder.size()) + ".tmp";
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) {
        return;
    }
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 || name.size() > prefix.size() + 9) {
            continue;
        }
        std::string digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH) {
            unlinkat(dirfd(dir), name.c_str(), 0);
        }
    }
    closedir(dir);
}

// Only a regular file is replaced, or a new one made where nothing is. A device, a named pipe, a
// socket or a folder there is left exactly as it is: renaming over it would take its name away
// from whatever uses it (a link to the null device, saved as root, would leave a plain file in
// its place for every program on the machine).
bool MayReplace(const std::string& target)
{
    struct stat info{};
    if (lstat(target.c_str(), &info) == 0) {
        return S_ISREG(info.st_mode);
    }
    return errno == ENOENT;
}

bool WriteAll(int fd, const void* bytes, std::size_t size)
{
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        ssize_t n = ::write(fd, at, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool ReplaceRegularFile(const std::string& hostPath, const void* bytes, std::size_t size)
{
    std::string target = FinalTarget(hostPath);
    if (target.empty() || !MayReplace(target)) {
        return false;
    }
    RemoveStaleTemporaries(target);
    const std::string temporary = target + ".tmp" + std::to_string(getpid());
    // Whatever holds our own name can only be left by an ended process that had our number.
    unlink(temporary.c_str());
    int fd = OpenRegularFile(temporary, O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        return false;
    }
    // The permissions are set before any content is written, so a private file never shows its
    // new content to others. A folder that keeps no permissions (some removable media) refuses
    // the change; the save goes on there.
    struct stat old{};
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & 07777);
    }
    bool ok = WriteAll(fd, bytes, size) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    // Checked again: something else may have been put there while the new content was written.
    ok = ok && MayReplace(target);
    ok = ok && MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        unlink(temporary.c_str());
    }
    return ok;
}
