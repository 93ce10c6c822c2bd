#include <csignal>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "files/interrupt_cleanup.h"
#include "cli/driver.h"
#include "messages.h"

namespace {

#ifndef _WIN32
// A run started with descriptor 0, 1 or 2 closed would hand it to the first
// file it opens, and its table or messages would land in that file (a
// gallery page): each closed one gets /dev/null. (Windows keeps the three
// taken even when a process has no such handle.)
bool hold_standard_descriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened < 0) {
            print_message("", 0, std::string("cannot open /dev/null: ") + std::strerror(errno));
            return false;
        }
        if (opened != fd) {
            dup2(opened, fd);
            close(opened);
        }
    }
    return true;
}
#else
bool hold_standard_descriptors()
{
    return true;
}
#endif

}  // namespace

int main(int argc, char** argv)
{
    if (!hold_standard_descriptors()) return 1;
#ifdef SIGXFSZ
    // Past a file size limit, let the write fail and be reported (and the
    // temporary file removed) rather than be killed half-way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    install_interrupt_cleanup();
    return run(argc, argv);
}
