#include "platform/win32/RegularFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads exactly size bytes unless the file ends first; false on a read error.
bool ReadAll(int fd, char* out, std::size_t size, std::size_t* got)
{
    *got = 0;
    while (*got < size) {
        ssize_t n = ::read(fd, out + *got, size - *got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        *got += static_cast<std::size_t>(n);
    }
    return true;
}

template <typename Bytes>
bool ReadBounded(const std::string& hostPath, std::size_t maxBytes, Bytes* bytes)
{
    bytes->clear();
    int fd = OpenRegularFile(hostPath, O_RDONLY);
    if (fd < 0) {
        return false;
    }
    struct stat info{};
    bool ok = fstat(fd, &info) == 0 && info.st_size >= 0 && static_cast<std::uint64_t>(info.st_size) <= maxBytes;
    if (ok) {
        // A file that grows meanwhile is read only as far as its size was checked.
        std::size_t want = static_cast<std::size_t>(info.st_size);
        bytes->resize(want);
        std::size_t got = 0;
        ok = ReadAll(fd, reinterpret_cast<char*>(bytes->data()), want, &got);
        bytes->resize(got);
    }
    close(fd);
    if (!ok) {
        bytes->clear();
    }
    return ok;
}

}  // namespace

int OpenRegularFile(const std::string& hostPath, int flags, int mode)
{
    // Whatever is not a file is turned away before it is opened: opening a device can act on it
    // (a watchdog starts counting, a tape rewinds), and a link may lead to one.
    struct stat before{};
    if (stat(hostPath.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
        errno = S_ISDIR(before.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    // What is put there meanwhile is caught by the check after the open. A pipe opened for
    // reading without O_NONBLOCK waits for a writer; with it the open returns at once.
    int fd = open(hostPath.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) {
        return -1;
    }
    struct stat info{};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        int error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        close(fd);
        errno = error;
        return -1;
    }
    int status = fcntl(fd, F_GETFL);
    if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::FILE* OpenRegularFileStream(const std::string& hostPath)
{
    int fd = OpenRegularFile(hostPath, O_RDONLY);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
    }
    return file;
}

bool ReadRegularFile(const std::string& hostPath, std::size_t maxBytes, std::vector<unsigned char>* bytes)
{
    return ReadBounded(hostPath, maxBytes, bytes);
}

bool ReadRegularFile(const std::string& hostPath, std::size_t maxBytes, std::string* text)
{
    return ReadBounded(hostPath, maxBytes, text);
}
