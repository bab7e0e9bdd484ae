#pragma once

// Standard input, output and error as every program of ours needs them.
namespace StandardStreams {

// Opens /dev/null as each of descriptors 0, 1 and 2 that the program was
// started without (`>&-`, a daemon's closed streams). Otherwise the next file
// or serial port opened would take its number, and the program's messages,
// written to standard error, would go into it: a station would be sent the
// progress text between the bytes of its write. Call first in main(), before
// anything is opened. False when they could not all be opened: the program
// must then end at once, without a word.
bool ensureOpen();

} // namespace StandardStreams
