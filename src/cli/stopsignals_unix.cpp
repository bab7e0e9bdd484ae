#include "stopsignals.h"

#include "link/transferstop.h"

#include <csignal>

namespace {

TransferStop g_stop;

extern "C" void onStopSignal(int)
{
    g_stop.request();
}

} // namespace

namespace StopSignals {

std::shared_ptr<TransferStop> install()
{
    static const bool installed = [] {
        struct sigaction action = {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        // Interrupted waits on the line go on; the stop is asked at every poll.
        action.sa_flags = SA_RESTART;
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            // A signal the program was started with ignored stays ignored:
            // SIGHUP under nohup, SIGINT in a background job of a plain shell.
            struct sigaction inherited = {};
            if (sigaction(signal, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
                continue;
            sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
    // The request lives as long as the program: nobody owns it.
    return std::shared_ptr<TransferStop>(std::shared_ptr<TransferStop>(), &g_stop);
}

void ignoreBrokenPipe()
{
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace StopSignals
