#pragma once

#include <QString>

// The words of the help that differ between systems: how a running command is
// stopped, and what a port name opens (helpwords_unix.cpp, helpwords_win.cpp).
namespace HelpWords {

// How a command was stopped, after "остановлено": "сигналом SIGINT, SIGTERM или SIGHUP".
QString stoppedBy();
// What then ends every transfer at once: "второй сигнал".
QString secondStop();
// More on stopping, as a line of its own after the text that says how, or nothing.
QString stopNoteLine();
// What PORT may be, as a sentence.
QString portValue();
// Which ports the search asks, after "опрос портов COM1...COM7".
QString searchedPorts();
// How one device comes to be named twice, as examples.
QString twoNamesOfOneDevice();

} // namespace HelpWords
