#pragma once

#include <QString>
#include <QStringList>

// The channel files a technician used last, for the file dialogs and the
// "Каналы" menu: the file loaded or saved last in this run (its name and
// folder are proposed for the next save), the folder used last (where every
// file dialog starts) and the last five files, newest first. The folder and the list are kept between runs in
// a small settings file of the window's own in the configuration folder; the
// options file V404Options.ini is only read, never written.
class RecentFiles
{
public:
    static constexpr int MaxFiles = 5;

    // `storeFile` holds the folder and the list between runs.
    explicit RecentFiles(QString storeFile = defaultStoreFile());

    static QString defaultStoreFile(); // <config>/vetral-window.ini

    // A file was loaded or saved: it is the last one, first in the list, and
    // its folder is the last folder.
    void use(const QString &path);
    // A file of another kind was chosen in a dialog: its folder is the last folder.
    void useFolder(const QString &folder);
    // The file leaves the list (it was moved or deleted).
    void forget(const QString &path);

    QString lastFile() const { return m_lastFile; }
    // The folder used last, or Paths::firstDialogFolder() before any.
    QString lastFolder() const;
    const QStringList &files() const { return m_files; }

private:
    void store() const;

    QString m_storeFile;
    QString m_lastFile;
    QString m_lastFolder;
    QStringList m_files;
};
