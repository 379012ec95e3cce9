#pragma once

// A program killed with SIGKILL in the middle of its work, as a power cut would
// leave its files.

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace kumby::testing {

// Runs `work` in a child that calls the function it is given once it is under way;
// the child is killed `delayMicroseconds` after that. True when it was killed.
template <class TWork> bool KillMidWay(TWork work, unsigned delayMicroseconds = 3000) {
    int ready[2];
    if (::pipe(ready) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        work(std::function<void()>([fd = ready[1]] {
            const char one = 1;
            (void)!::write(fd, &one, 1);
        }));
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::usleep(delayMicroseconds);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    return started && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

} // namespace kumby::testing
