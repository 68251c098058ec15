#include "tests/support/SpecialFiles.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

bool MakeSocketAt(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::strcpy(address.sun_path, path.c_str());
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        return false;
    }
    bool made = bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    close(s);
    return made;
}

bool MakeNullDeviceAt(const std::string& path)
{
    return geteuid() == 0 && mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
}
