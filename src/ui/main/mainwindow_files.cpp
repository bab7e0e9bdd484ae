#include "files/channelfile.h"
#include "main/celleditors.h"
#include "main/channeltablemodel.h"
#include "main/recentfiles.h"
#include "main/tablehistory.h"
#include "main/mainwindow.h"
#include "transfer/portchoice.h"
#include "services/guard.h"
#include "services/uiservices.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {
const QString kFilter = QStringLiteral("Файлы(*.ini)|*.ini");

QString goneQuestion(const QString &path)
{
    return QStringLiteral("Файл \"%1\" не найден: его переименовали, перенесли или удалили.\n"
                          "Убрать его из списка последних файлов?")
        .arg(QDir::toNativeSeparators(path));
}

// The one local channel file a drag brings, or nothing.
QString droppedChannelFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return path.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive) ? path : QString();
}
} // namespace

void MainWindow::onSaveFile()
{
    saveToFile();
}

bool MainWindow::saveToFile()
{
    bool saved = false;
    guarded(m_ui, [&] {
        // The file loaded or saved last is proposed, else the folder used last.
        UiServices::FileDialog dialog{QStringLiteral("Сохранение данных радиостанции на диск"), kFilter,
                                      m_recent.lastFolder(), QStringLiteral("K7TV_10.ini")};
        if (!m_recent.lastFile().isEmpty()) {
            const QFileInfo last(m_recent.lastFile());
            dialog.folder = last.absolutePath();
            dialog.proposedName = last.fileName();
        }
        const QString path = m_ui.askSaveFileName(dialog);
        if (path.isEmpty())
            return;
        // Replacing a file is confirmed in the dialog; a new name is the
        // technician's choice already and is not asked about again.
        if (const auto refusal = ChannelFile::save(m_state, path)) {
            m_ui.showRefusal(*refusal);
            return;
        }
        m_history->markSaved();
        useFile(path);
        saved = true;
    });
    return saved;
}

void MainWindow::onOpenFile()
{
    guarded(m_ui, [&] {
        const QString path = m_ui.askOpenFileName({QString(), kFilter, m_recent.lastFolder(), QString()});
        if (!path.isEmpty())
            loadFile(path);
    });
}

void MainWindow::loadFile(const QString &path)
{
    guarded(m_ui, [&] {
        ChannelFile::LoadResult result;
        {
            const TableHistory::WholeStep step(*m_history, QStringLiteral("Чтение файла"));
            const ChannelTableModel::TableChange change(*m_model);
            result = ChannelFile::load(path, m_state);
            m_state.dataValid = false;
        }
        m_history->markSaved();
        // The state has taken the file over (also when it then fails for want of
        // channel sections): the window shows what it holds now.
        if (result.selectedStation)
            applyStationSelection();
        refreshStationMenus();
        refreshSettingsText();
        showWorkArea(true);
        showSettingsText(true);
        showTable(true);
        if (result.refusal) {
            m_ui.showRefusal(*result.refusal);
            return;
        }
        useFile(path);
        if (const QString lacking = ChannelFile::lackingText(result.lacking); !lacking.isEmpty())
            m_ui.showMessage(lacking);
    });
}

void MainWindow::useFile(const QString &path)
{
    m_recent.use(path);
    refreshRecentMenu();
}

void MainWindow::refreshRecentMenu()
{
    const QStringList &files = m_recent.files();
    if (QAction *line = action("N1RecentLine"))
        line->setVisible(!files.isEmpty());
    for (int i = 0; i < RecentFiles::MaxFiles; ++i) {
        QAction *entry = action(qPrintable(QStringLiteral("N1Recent%1").arg(i + 1)));
        if (!entry)
            continue;
        entry->setVisible(i < files.size());
        if (i < files.size())
            entry->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files.at(i))));
    }
}

void MainWindow::openRecent(int index)
{
    const QStringList &files = m_recent.files();
    if (index < 0 || index >= files.size())
        return;
    const QString path = files.at(index);
    // A file moved or deleted since is named, and its entry need not stay.
    if (!QFileInfo::exists(path)) {
        if (m_ui.ask(goneQuestion(path))) {
            m_recent.forget(path);
            refreshRecentMenu();
        }
        return;
    }
    loadFile(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!m_ports.transferRunning() && !droppedChannelFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedChannelFile(event->mimeData());
    if (path.isEmpty() || m_ports.transferRunning())
        return;
    event->acceptProposedAction();
    m_editors->closeList();
    loadFile(path);
}
