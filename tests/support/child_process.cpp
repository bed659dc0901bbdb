#include "tests/support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

namespace tf::test {

bool trueInChildProcess(const std::function<bool()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool dropRootPrivileges() {
    constexpr uid_t kNobody = 65534;
    return ::geteuid() != 0 || (::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
}

}  // namespace tf::test
