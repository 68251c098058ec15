#include "tests/support/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

XvfbServer::XvfbServer(int width, int height)
{
    // The server takes the first free display number itself, which keeps parallel test programs
    // apart, and writes it to its output once it accepts clients: a pipe here, which ends
    // without it when the server gives up.
    int number[2];
    if (pipe2(number, O_CLOEXEC) != 0) {
        return;
    }
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    bool started = server_.Start({"Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
                                 ChildProcess::Environment({}), "", {number[1], ""});
    close(number[1]);
    std::string digits;
    bool whole = false;
    pollfd p{number[0], POLLIN, 0};
    while (started && !whole && poll(&p, 1, 10000) == 1) {
        char c;
        if (read(number[0], &c, 1) != 1) {
            break;
        }
        whole = c == '\n';
        if (!whole) {
            digits += c;
        }
    }
    close(number[0]);
    if (!whole || digits.empty()) {
        server_.Stop();
        return;
    }
    name_ = ":" + digits;
}
