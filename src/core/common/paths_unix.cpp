#include "common/paths.h"

#include <QDir>
#include <QStandardPaths>

QString Paths::systemConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString Paths::firstDialogFolder()
{
    // Linux keeps a user's own files in the home folder itself.
    return QDir::homePath();
}
