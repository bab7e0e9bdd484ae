#include "files/channelfile.h"
#include "main/tformmain.h"
#include "services/guard.h"
#include "services/uiservices.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("Файлы(*.ini)|*.ini");
}

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
        const ChannelFile::LoadResult result = ChannelFile::load(path, m_state);
        // The state has taken the file over (also when it then fails for want of
        // channel sections): the window shows what it holds now.
        if (result.selectedStation)
            applyStationSelection();
        refreshStationMenus();
        refreshSettingsText();
        refreshTable();
        showWorkArea(true);
        showSettingsText(true);
        showTable(true);
        if (result.refusal)
            m_ui.showRefusal(*result.refusal);
    });
}
