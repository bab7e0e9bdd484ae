#include "main/channeltablemodel.h"
#include "main/tablecommands.h"
#include "main/tablehistory.h"
#include "main/mainwindow.h"
#include "services/guard.h"
#include "common/paths.h"
#include "support/supportbundle.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

// A choice of station type or module is a step of the table's history: an
// undo brings back the type, the caption, the boxes, the shown table and the
// settings text. It clears the data-valid flag, as what was checked was
// checked for another station.

StationChoice MainWindow::stationChoice() const
{
    return {m_state.stationKind,
            m_state.bandCode,
            m_state.moduleCode,
            m_state.chosenModule,
            {m_state.table, m_state.settingsLines},
            !m_workArea->isHidden(),
            !m_settingsText->isHidden(),
            !m_grid->isHidden()};
}

void MainWindow::restoreStationChoice(const StationChoice &choice)
{
    m_state.stationKind = choice.kind;
    m_state.bandCode = choice.bandCode;
    m_state.moduleCode = choice.moduleCode;
    m_state.chosenModule = choice.chosenModule;
    {
        const ChannelTableModel::TableChange change(*m_model);
        m_state.table = choice.table.table;
    }
    m_state.settingsLines = choice.table.settingsLines;
    refreshSettingsText();
    refreshStationMenus();
    m_firstFrequencyEdit->setText(QString::number(StationProfiles::get(choice.kind).lowKHz));
    showWorkArea(choice.workAreaShown);
    showSettingsText(choice.settingsShown);
    showTable(choice.tableShown);
}

template <class Choose>
void MainWindow::chooseStation(const QString &step, Choose &&choose)
{
    guarded(m_ui, [&] {
        m_history->recordSettingsEdit();
        StationChoice before = stationChoice();
        m_state.dataValid = false;
        choose();
        m_history->push(new StationChoiceCommand(
            std::move(before), stationChoice(), [this](const StationChoice &c) { restoreStationChoice(c); }, step));
    });
}

void MainWindow::selectStationType(StationKind kind)
{
    chooseStation(QStringLiteral("Тип радиостанции"), [&] {
        {
            const ChannelTableModel::TableChange change(*m_model); // the boxes are detached
            m_state.selectStation(kind);
        }
        applyStationSelection();
    });
}

void MainWindow::onBand30to60()
{
    selectStationType(StationKind::Band30_60);
}
void MainWindow::onBand144to174()
{
    selectStationType(StationKind::Band144_174);
}
void MainWindow::onBand400to486()
{
    selectStationType(StationKind::Band400_486);
}

void MainWindow::selectModule(int code)
{
    chooseStation(QStringLiteral("Модуль"), [&] {
        m_state.setModuleCode(static_cast<std::uint8_t>(code));
        refreshStationMenus();
    });
}

void MainWindow::onModuleNone()
{
    selectModule(0);
}
void MainWindow::onModuleMasker06LM200()
{
    selectModule(1);
}
void MainWindow::onModuleSmartrunk()
{
    selectModule(2);
}
void MainWindow::onModuleMaskerTirel()
{
    selectModule(3);
}
void MainWindow::onModuleMaskerCurtain()
{
    selectModule(4);
}
void MainWindow::onModuleMasker06LM016()
{
    selectModule(5);
}

void MainWindow::onSupportBundle()
{
    const QString path = m_ui.askSaveFileName(UiServices::FileDialog{
        QStringLiteral("Архив для службы поддержки"), QStringLiteral("Архивы zip (*.zip)|*.zip"),
        Paths::documentsFolder(),
        QStringLiteral("vetral-поддержка %1.zip").arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")))});
    if (path.isEmpty())
        return;
    guarded(m_ui, [&] {
        // The save dialog has asked before a file of that name is replaced.
        if (QFileInfo(path).isFile())
            QFile::remove(path);
        SupportBundle::write(path, SupportBundle::collect(SupportBundle::Sources::ofThisUser()));
        m_ui.showMessage(QStringLiteral("Архив для службы поддержки записан в файл \"%1\". Отправьте его в службу "
                                        "поддержки; сводка - в файле ПРОЧТИТЕ.txt внутри.")
                             .arg(QDir::toNativeSeparators(path)));
    });
}
