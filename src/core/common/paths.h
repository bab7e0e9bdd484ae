#pragma once

#include <QString>

// Where the program keeps its files. The configuration folder takes the place
// of the Windows directory: it holds the options file V404Options.ini (read,
// never written) and MyTemp.ini (rewritten by every data check).
namespace Paths {

QString configFolder();
QString optionsFile();      // <config>/V404Options.ini
QString tempSettingsFile(); // <config>/MyTemp.ini

} // namespace Paths
