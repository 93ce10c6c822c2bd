#include <csignal>

#include "driver.h"

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // Past a file size limit, let the write fail and be reported (and the
    // temporary file removed) rather than be killed half-way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    return run(argc, argv);
}
