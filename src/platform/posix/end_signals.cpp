#include "platform/end_signals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace platform {

namespace {

// The write end of the pipe the handler signals through; the only thing it touches.
volatile sig_atomic_t g_writeEnd = -1;

void onEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request; nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t n = write(g_writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

int catchEndRequests()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    g_writeEnd = ends[1];
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : { SIGTERM, SIGHUP }) {
        if (sigaction(signal, &action, nullptr) != 0)
            return -1;
    }
    return ends[0];
}

bool takeEndRequests(int fd)
{
    char buffer[64];
    bool any = false;
    while (read(fd, buffer, sizeof buffer) > 0)
        any = true;
    return any;
}

} // namespace platform
