#include "stopsignals.h"

#include "link/transferstop.h"

#include <windows.h>

namespace {

TransferStop g_stop;

// Ctrl+C, Ctrl+Break and a closed console window, on a thread of their own.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    g_stop.request();
    return TRUE;
}

} // namespace

namespace StopSignals {

std::shared_ptr<TransferStop> install()
{
    static const bool installed = [] { return ::SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0; }();
    (void)installed;
    // The request lives as long as the program: nobody owns it.
    return std::shared_ptr<TransferStop>(std::shared_ptr<TransferStop>(), &g_stop);
}

void ignoreBrokenPipe()
{
    // Windows ends no process for a closed pipe: the write fails, as wanted.
}

} // namespace StopSignals
