#include <csignal>

#include "document/interrupt_cleanup.h"
#include "driver.h"

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // Past a file size limit, let the write fail and be reported (and the
    // temporary file removed) rather than be killed half-way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    install_interrupt_cleanup();
    return run(argc, argv);
}
