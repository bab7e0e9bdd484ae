#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Paths {

QString portableMarkerName()
{
    return QStringLiteral("portable.txt");
}

QString portableFolderOf(const QString &programFolder)
{
    if (programFolder.isEmpty() || !QFileInfo(programFolder + u'/' + portableMarkerName()).isFile())
        return QString();
    return programFolder;
}

QString portableFolder()
{
    if (QCoreApplication::instance() == nullptr)
        return QString();
    return portableFolderOf(QCoreApplication::applicationDirPath());
}

QString configFolder()
{
    const QString portable = portableFolder();
    return portable.isEmpty() ? systemConfigFolder() : portable;
}

QString dataFolder()
{
    const QString portable = portableFolder();
    // The archive may grow large: it stays on this machine (Windows' local
    // application data, not the roaming profile).
    return portable.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) : portable;
}

std::optional<QString> dataFolderRefusal()
{
    if (!portableFolder().isEmpty())
        return std::nullopt;
    const auto variable = badDataFolderVariable();
    if (!variable)
        return std::nullopt;
    return QStringLiteral("Папка данных программы \"%1\" задана переменной окружения %2, которая содержит байты, "
                          "недопустимые в кодировке системы (UTF-8): программа не может создать эту папку под "
                          "точным именем и не подменяет его другим. Исправьте %2.")
        .arg(dataFolder(), *variable);
}

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString optionsFile()
{
    return configFolder() + QStringLiteral("/V404Options.ini");
}

QString tempSettingsFile()
{
    return configFolder() + QStringLiteral("/MyTemp.ini");
}

} // namespace Paths
