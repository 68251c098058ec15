// Named mutexes: ownership between the threads of this process, and the name visible to other
// processes of the user (an exclusive file lock held by the process that created it first), so
// that a second copy of a program learns ERROR_ALREADY_EXISTS.
#include <cctype>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/win32/FileHandle.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/WaitSignal.h"
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/WindowRecord.h"

namespace {

struct MutexObject {
    std::string name;          // empty for an unnamed mutex
    int lockFile = -1;         // held by the process that created the name first
    int handles = 0;
    std::thread::id owner;
    int recursion = 0;
};

// Never destroyed: a worker thread may still be releasing a mutex while the process exits.
std::mutex& g_mutexTable = *new std::mutex;
std::map<std::string, MutexObject*>& g_byName = *new std::map<std::string, MutexObject*>;

// Handles are pointers to this record; the magic tells a mutex from anything else.
struct HandleRecord {
    std::uint32_t magic = 0x4D555458;  // "MUTX"
    MutexObject* object;
};

MutexObject* ObjectOf(HANDLE handle)
{
    auto* record = static_cast<HandleRecord*>(handle);
    if (!record || handle == INVALID_HANDLE_VALUE || record->magic != 0x4D555458) {
        return nullptr;
    }
    return record->object;
}

bool TryAcquire(MutexObject* m)
{
    auto self = std::this_thread::get_id();
    if (m->recursion == 0 || m->owner == self) {
        m->owner = self;
        ++m->recursion;
        return true;
    }
    return false;
}

std::string LockFilePath(const std::string& name)
{
    std::string safe;
    for (char c : name) {
        safe += (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-') ? c : '_';
    }
    return win32::InSharedFolder("mutex-" + safe);
}

// The file whose lock stands for the name, opened for reading and writing; -1 when none can be
// had. Whatever was left at the name that is not a file of this user's (a folder, a pipe, a
// device, a link) is never opened, and the next name of a fixed sequence is tried instead. Every
// process walks the sequence alike and stops at the same file, so a left-over cannot keep the
// name from being made.
int OpenLockFile(const std::string& name)
{
    const std::string base = LockFilePath(name);
    if (base.empty()) {
        return -1;
    }
    for (int n = 0; n < 10; ++n) {
        std::string path = n == 0 ? base : base + "." + std::to_string(n);
        struct stat info{};
        if (lstat(path.c_str(), &info) == 0 && (!S_ISREG(info.st_mode) || info.st_uid != geteuid())) {
            continue;
        }
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) {
            continue;
        }
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid()) {
            return fd;
        }
        close(fd);
    }
    return -1;
}

}  // namespace

HANDLE CreateMutexA(SECURITY_ATTRIBUTES*, BOOL initialOwner, LPCSTR name)
{
    std::unique_lock lock(g_mutexTable);
    MutexObject* object = nullptr;
    DWORD error = ERROR_SUCCESS;
    if (name && *name) {
        auto it = g_byName.find(name);
        if (it != g_byName.end()) {
            object = it->second;
            error = ERROR_ALREADY_EXISTS;
        } else {
            object = new MutexObject;
            object->name = name;
            int fd = OpenLockFile(name);
            if (fd < 0) {
                delete object;
                SetLastError(ERROR_ACCESS_DENIED);
                return nullptr;
            }
            if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
                object->lockFile = fd;
            } else {
                close(fd);
                error = ERROR_ALREADY_EXISTS;  // another process holds the name
            }
            g_byName[name] = object;
        }
    } else {
        object = new MutexObject;
    }
    ++object->handles;
    // Ownership is asked for only when the object is new, as the platform does.
    if (initialOwner && error != ERROR_ALREADY_EXISTS) {
        TryAcquire(object);
    }
    auto* record = new HandleRecord;
    record->object = object;
    SetLastError(error);
    return record;
}

BOOL ReleaseMutex(HANDLE handle)
{
    std::unique_lock lock(g_mutexTable);
    MutexObject* m = ObjectOf(handle);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (m->recursion == 0 || m->owner != std::this_thread::get_id()) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    if (--m->recursion == 0) {
        m->owner = std::thread::id();
    }
    lock.unlock();
    win32::WaitSignal().notify_all();
    return TRUE;
}

BOOL CloseHandle(HANDLE handle)
{
    std::unique_lock lock(g_mutexTable);
    auto* record = static_cast<HandleRecord*>(handle);
    MutexObject* m = ObjectOf(handle);
    if (!m) {
        if (Win32CloseFileHandle(handle)) {
            return TRUE;
        }
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    record->magic = 0;
    delete record;
    if (--m->handles == 0) {
        if (!m->name.empty()) {
            g_byName.erase(m->name);
        }
        if (m->lockFile >= 0) {
            close(m->lockFile);  // releases the name for other processes
        }
        delete m;
    }
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    std::unique_lock lock(g_mutexTable);
    MutexObject* m = ObjectOf(handle);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    if (milliseconds == INFINITE) {
        win32::WaitSignal().wait(lock, [&] { return TryAcquire(m); });
        return WAIT_OBJECT_0;
    }
    bool got = win32::WaitSignal().wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return TryAcquire(m); });
    return got ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, DWORD)
{
    if (count != 1 || !handles || waitAll) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        {
            std::unique_lock lock(g_mutexTable);
            MutexObject* m = ObjectOf(handles[0]);
            if (!m) {
                SetLastError(ERROR_INVALID_HANDLE);
                return WAIT_FAILED;
            }
            if (TryAcquire(m)) {
                return WAIT_OBJECT_0;
            }
        }
        if (win32::HasInput()) {
            return WAIT_OBJECT_0 + 1;
        }
        if (milliseconds != INFINITE &&
            std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(milliseconds)) {
            return WAIT_TIMEOUT;
        }
        // Window-system events cannot wake us, so the wait looks again every millisecond.
        std::unique_lock lock(g_mutexTable);
        win32::WaitSignal().wait_for(lock, std::chrono::milliseconds(1));
    }
}
