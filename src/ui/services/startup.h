#pragma once

class QApplication;

namespace Startup {

// What the program sets up before its first window: its name, and Qt's own
// texts (file dialogs, standard buttons, serial port errors) in Russian.
// No display name: the platform would append it to every window caption.
void prepare(QApplication &app);

// The title of the program's message boxes.
const char *messageTitle();

} // namespace Startup
