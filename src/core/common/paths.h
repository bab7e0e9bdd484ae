#pragma once

#include <QString>
#include <optional>

// Where the program keeps its files. The configuration folder takes the place
// of the Windows directory: it holds the options file V404Options.ini (read,
// never written) and MyTemp.ini (rewritten by every data check). The data
// folder holds the archive of reads.
//
// A portable copy (a marker file beside the program, see portableMarkerName)
// keeps both in the program's own folder; otherwise they are the system's
// folders for the user: ~/.config/vetral and ~/.local/share/vetral on Linux,
// %APPDATA%\vetral and %LOCALAPPDATA%\vetral on Windows.
namespace Paths {

QString configFolder();
QString dataFolder();
// Why dataFolder() cannot be used: the system names it in bytes that are
// not valid UTF-8, so that it would be made under another name (each bad
// byte a replacement character). Nothing when it can.
std::optional<QString> dataFolderRefusal();
QString optionsFile();      // <config>/V404Options.ini
QString tempSettingsFile(); // <config>/MyTemp.ini

// The marker's file name, "portable.txt"; its content does not matter.
QString portableMarkerName();
// The folder when the marker stands in it as a file, else empty.
QString portableFolderOf(const QString &programFolder);
// The program's folder when it is a portable copy, else empty.
QString portableFolder();

// The user's configuration folder of the system (paths_unix.cpp,
// paths_win.cpp), for a copy that is not portable.
QString systemConfigFolder();
// The environment variable that names the user's data folder, when its
// bytes are not valid in the system's encoding (paths_unix.cpp; Windows
// passes the environment as text).
std::optional<QString> badDataFolderVariable();

// The user's documents folder, or the home folder where the desktop names none.
QString documentsFolder();
// Where file dialogs start before any folder was used (paths_unix.cpp,
// paths_win.cpp): the home folder on Linux, the documents folder on Windows.
QString firstDialogFolder();

} // namespace Paths
