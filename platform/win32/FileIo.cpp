// Files by handle over POSIX descriptors. Paths come in the program's form and are turned into
// host paths here.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/win32/FileHandle.h"
#include "platform/win32/RegularFile.h"
#include "platform/win32/Win32File.h"
#include "platform/win32/Win32FileHooks.h"
#include "platform/win32/Win32Kernel.h"

namespace {

// Handles are pointers to this record; the magic tells a file from a mutex or anything else.
struct FileRecord {
    std::uint32_t magic = 0x46494C45;  // "FILE"
    int fd = -1;
};

FileRecord* FileOf(HANDLE handle)
{
    auto* record = static_cast<FileRecord*>(handle);
    if (!record || handle == INVALID_HANDLE_VALUE || record->magic != 0x46494C45) {
        return nullptr;
    }
    return record;
}

DWORD ErrorFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
        return ERROR_DISK_FULL;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

std::mutex g_hookMutex;
MoveFileHook g_moveFileHook;

std::string FolderOf(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool Win32CloseFileHandle(HANDLE handle)
{
    FileRecord* record = FileOf(handle);
    if (!record) {
        return false;
    }
    close(record->fd);  // also drops the lock that kept the file unshared
    record->magic = 0;
    delete record;
    return true;
}

HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES*,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE)
{
    if (!fileName || (access & (GENERIC_READ | GENERIC_WRITE)) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    int flags = O_CLOEXEC;
    if ((access & GENERIC_READ) && (access & GENERIC_WRITE)) {
        flags |= O_RDWR;
    } else {
        flags |= (access & GENERIC_WRITE) ? O_WRONLY : O_RDONLY;
    }
    if (disposition == CREATE_ALWAYS) {
        flags |= O_CREAT;
    } else if (disposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }

    std::string path = Win32HostPath(fileName);
    struct stat before{};
    bool existed = stat(path.c_str(), &before) == 0;
    // Truncation waits until the file is ours alone, so an unshared open of someone else's
    // file destroys nothing.
    // Only a regular file is opened, and the open never waits on a pipe or device in its place.
    int fd = OpenRegularFile(path, flags, 0644);
    if (fd < 0) {
        SetLastError(errno == EISDIR || errno == EINVAL || errno == ENXIO ? ERROR_ACCESS_DENIED
                                                                           : ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    if (shareMode == 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition == CREATE_ALWAYS && ftruncate(fd, 0) != 0) {
        int error = errno;
        close(fd);
        SetLastError(ErrorFromErrno(error));
        return INVALID_HANDLE_VALUE;
    }
    if (flagsAndAttributes & FILE_FLAG_RANDOM_ACCESS) {
        posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    } else if (flagsAndAttributes & FILE_FLAG_SEQUENTIAL_SCAN) {
        posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    // Creating over an existing file succeeds and says so.
    SetLastError(disposition == CREATE_ALWAYS && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    auto* record = new FileRecord;
    record->fd = fd;
    return record;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, DWORD* read, OVERLAPPED*)
{
    FileRecord* record = FileOf(file);
    if (read) {
        *read = 0;
    }
    if (!record || (!buffer && toRead > 0)) {
        SetLastError(record ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    auto* out = static_cast<char*>(buffer);
    DWORD total = 0;
    while (total < toRead) {
        ssize_t n = ::read(record->fd, out + total, toRead - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            SetLastError(ErrorFromErrno(errno));
            if (read) {
                *read = total;
            }
            return FALSE;
        }
        if (n == 0) {
            break;  // end of file: success with fewer bytes
        }
        total += static_cast<DWORD>(n);
    }
    if (read) {
        *read = total;
    }
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, DWORD* written, OVERLAPPED*)
{
    FileRecord* record = FileOf(file);
    if (written) {
        *written = 0;
    }
    if (!record || (!buffer && toWrite > 0)) {
        SetLastError(record ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const auto* in = static_cast<const char*>(buffer);
    DWORD total = 0;
    while (total < toWrite) {
        ssize_t n = ::write(record->fd, in + total, toWrite - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            SetLastError(n < 0 ? ErrorFromErrno(errno) : ERROR_DISK_FULL);
            if (written) {
                *written = total;
            }
            return FALSE;
        }
        total += static_cast<DWORD>(n);
    }
    if (written) {
        *written = total;
    }
    return TRUE;
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh)
{
    FileRecord* record = FileOf(file);
    struct stat info{};
    if (!record || fstat(record->fd, &info) != 0) {
        SetLastError(record ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    auto size = static_cast<std::uint64_t>(info.st_size);
    if (sizeHigh) {
        *sizeHigh = static_cast<DWORD>(size >> 32);
    } else if (size >> 32) {
        // Without room for the high part a size of 4 GB or more cannot be told.
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_SIZE;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size);
}

BOOL FlushFileBuffers(HANDLE file)
{
    FileRecord* record = FileOf(file);
    if (!record) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (fsync(record->fd) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

void Win32SetMoveFileHook(MoveFileHook hook)
{
    std::lock_guard lock(g_hookMutex);
    g_moveFileHook = std::move(hook);
}

BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags)
{
    if (!existingName || !newName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string from = Win32HostPath(existingName);
    std::string to = Win32HostPath(newName);
    MoveFileHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_moveFileHook;
    }
    if (hook && !hook(from, to)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    struct stat target{};
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && stat(to.c_str(), &target) == 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (rename(from.c_str(), to.c_str()) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    if (flags & MOVEFILE_WRITE_THROUGH) {
        // The new name is on disk only once its folder is.
        int dir = open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0 || fsync(dir) != 0) {
            int error = errno;
            if (dir >= 0) {
                close(dir);
            }
            SetLastError(ErrorFromErrno(error));
            return FALSE;
        }
        close(dir);
    }
    return TRUE;
}

BOOL DeleteFileA(LPCSTR fileName)
{
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (unlink(Win32HostPath(fileName).c_str()) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}
