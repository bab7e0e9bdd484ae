#pragma once

// Asks the driver of an open serial device to hand on received bytes at once
// (TIOCSSERIAL with ASYNC_LOW_LATENCY): the station answers every byte of a
// write, and the program waits for each answer. True when the driver has the
// flag set; false when it refuses (a pseudo-terminal, a driver without the
// call), and the port is used as it is. USB adapters keep a latency timer of
// their own besides, which sysfs shows (SysfsPorts).
bool requestLowLatency(int fd);
