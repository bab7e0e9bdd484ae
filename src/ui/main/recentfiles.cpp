#include "main/recentfiles.h"
#include "common/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <utility>

namespace {
const QString kFolderKey = QStringLiteral("files/lastFolder");
const QString kListKey = QStringLiteral("files/recent");
} // namespace

RecentFiles::RecentFiles(QString storeFile) : m_storeFile(std::move(storeFile))
{
    const QSettings settings(m_storeFile, QSettings::IniFormat);
    m_lastFolder = settings.value(kFolderKey).toString();
    m_files = settings.value(kListKey).toStringList().mid(0, MaxFiles);
}

QString RecentFiles::defaultStoreFile()
{
    return Paths::configFolder() + QStringLiteral("/vetral-window.ini");
}

void RecentFiles::use(const QString &path)
{
    const QFileInfo info(path);
    m_lastFile = info.absoluteFilePath();
    m_lastFolder = info.absolutePath();
    m_files.removeAll(m_lastFile);
    m_files.prepend(m_lastFile);
    m_files = m_files.mid(0, MaxFiles);
    store();
}

void RecentFiles::useFolder(const QString &folder)
{
    m_lastFolder = folder;
    store();
}

void RecentFiles::forget(const QString &path)
{
    m_files.removeAll(path);
    store();
}

QString RecentFiles::lastFolder() const
{
    // A folder removed since is no place to start a dialog in.
    if (m_lastFolder.isEmpty() || !QFileInfo(m_lastFolder).isDir())
        return Paths::firstDialogFolder();
    return m_lastFolder;
}

void RecentFiles::store() const
{
    // A settings file that cannot be written costs only the memory of the next run.
    QSettings settings(m_storeFile, QSettings::IniFormat);
    settings.setValue(kFolderKey, m_lastFolder);
    settings.setValue(kListKey, m_files);
}
