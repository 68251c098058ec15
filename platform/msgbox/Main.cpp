// The message box program: MessageBox <caption> <text> [<owner X window>]. Shows one box and,
// once the user has closed it, writes "1" and a newline to its standard output; nothing is
// written when no box could be shown (no display, wrong arguments), so the caller knows to show
// the message another way. The answer does not hang on the exit status, which a crash while
// tearing down or a checking tool's report could change after the box was read.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/msgbox/MessageBoxWindow.h"

namespace {

// Takes the answer's channel off standard output, so that nothing GTK starts (a bus launcher,
// say) holds it open and the caller sees its end as soon as this program ends.
int TakeAnswerChannel()
{
    int answer = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    return answer;
}

}  // namespace

int main(int argc, char** argv)
{
    int answer = TakeAnswerChannel();
    if (argc < 3 || argc > 4) {
        return 2;
    }
    g_set_prgname("MessageBox");
    // Without the arguments: GTK must not take a text that begins with "--" for an option.
    if (!gtk_init_check(nullptr, nullptr)) {
        return 3;
    }
    unsigned long owner = argc == 4 ? std::strtoul(argv[3], nullptr, 0) : 0;
    {
        MessageBoxWindow box(argv[1], argv[2], owner);
        box.Run();
    }
    if (answer >= 0) {
        ssize_t written = write(answer, "1\n", 2);
        (void)written;
        close(answer);
    }
    return 0;
}
