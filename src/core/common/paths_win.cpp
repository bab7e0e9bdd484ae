#include "common/paths.h"

#include <QStandardPaths>

QString Paths::systemConfigFolder()
{
    // The user's (roaming) application data, %APPDATA%\vetral: the options
    // follow the technician to another machine of the domain. Qt's
    // configuration location on Windows would be the local one.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

std::optional<QString> Paths::badDataFolderVariable()
{
    return std::nullopt;
}

QString Paths::firstDialogFolder()
{
    // The profile folder holds the system's folders, not the user's files.
    return documentsFolder();
}
