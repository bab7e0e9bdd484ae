#include "files/channelfile.h"
#include "main/channeltablemodel.h"
#include "main/tablehistory.h"
#include "main/tformmain.h"
#include "services/guard.h"
#include "services/uiservices.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("Файлы(*.ini)|*.ini");

QString createQuestion(const QString &path)
{
    return QStringLiteral("Файл %1 не существует.\nСоздать его?").arg(QDir::toNativeSeparators(path));
}
} // namespace

void TFormMain::N3Click()
{
    guarded(m_ui, [&] {
        UiServices::FileDialog dialog{QStringLiteral("Сохранение данных радиостанции на диск"), kFilter,
                                      QDir::homePath(), QStringLiteral("K7TV_10.ini")};
        if (!m_lastSavedFile.isEmpty()) {
            const QFileInfo last(m_lastSavedFile);
            dialog.folder = last.absolutePath();
            dialog.proposedName = last.fileName();
        }
        const QString path = m_ui.askSaveFileName(dialog);
        if (path.isEmpty())
            return;
        // Replacing a file is confirmed in the dialog; making a new one here.
        if (!QFileInfo::exists(path) && !m_ui.ask(createQuestion(path)))
            return;
        if (const auto refusal = ChannelFile::save(m_state, path)) {
            m_ui.showRefusal(*refusal);
            return;
        }
        m_lastSavedFile = path;
    });
}

void TFormMain::N4Click()
{
    guarded(m_ui, [&] {
        const QString path = m_ui.askOpenFileName({QString(), kFilter, QDir::homePath(), QString()});
        if (path.isEmpty())
            return;
        ChannelFile::LoadResult result;
        {
            const TableHistory::WholeStep step(*m_history, QStringLiteral("Чтение файла"));
            const ChannelTableModel::TableChange change(*m_model);
            result = ChannelFile::load(path, m_state);
        }
        // The state has taken the file over (also when it then fails for want of
        // channel sections): the window shows what it holds now.
        if (result.selectedStation)
            applyStationSelection();
        refreshStationMenus();
        refreshSettingsText();
        showWorkArea(true);
        showSettingsText(true);
        showTable(true);
        if (result.refusal)
            m_ui.showRefusal(*result.refusal);
    });
}
