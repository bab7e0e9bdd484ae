#pragma once

#include "link/transferstop.h"

#include <memory>

// SIGINT, SIGTERM and SIGHUP as requests to stop the command's transfers
// rather than as the end of the process: the first lets no new station and
// no new step start and a write in progress run to its end, the second ends
// every transfer at once. Either way the command still closes its ports,
// removes its temporary files and prints where each station stopped. A
// signal the program was started with ignored (nohup) stays ignored.
namespace StopSignals {

// Installs the handlers (once) and returns the request they make.
std::shared_ptr<TransferStop> install();
// A stop was asked: the command ends with "остановлено" whatever it finished.
inline bool requested()
{
    return install()->stopRequested();
}

// SIGPIPE ignored for the whole program: output lost to a closed pipe is a
// failed write, reported at the end like a full disk, not a death in the
// middle of a transfer.
void ignoreBrokenPipe();

} // namespace StopSignals
