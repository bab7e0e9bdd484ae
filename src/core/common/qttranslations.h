#pragma once

class QCoreApplication;

namespace QtTranslations {

// Qt's own texts in Russian (standard buttons, file dialogs, the command
// line's help and errors, serial port errors), from Qt's translations folder:
// Debian's qt6-translations-l10n, or the folder beside the program on
// Windows (qt.conf). Without a catalogue Qt's texts stay in English and
// nothing else changes.
void installRussian(QCoreApplication &app);

} // namespace QtTranslations
