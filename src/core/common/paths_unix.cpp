#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString Paths::systemConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

std::optional<QString> Paths::badDataFolderVariable()
{
    // The system's data folder is XDG_DATA_HOME, or under HOME without it.
    for (const char *name : {"XDG_DATA_HOME", "HOME"}) {
        const QByteArray bytes = qgetenv(name);
        if (bytes.isEmpty())
            continue;
        if (QFile::encodeName(QFile::decodeName(bytes)) != bytes)
            return QString::fromLatin1(name);
        return std::nullopt;
    }
    return std::nullopt;
}

QString Paths::firstDialogFolder()
{
    // Linux keeps a user's own files in the home folder itself.
    return QDir::homePath();
}
