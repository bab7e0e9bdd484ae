#include "main/channeltablemodel.h"
#include "main/tablecommands.h"
#include "main/tablehistory.h"
#include "main/tformmain.h"
#include "services/guard.h"

#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

// A choice of station type or module is a step of the table's history: an
// undo brings back the type, the caption, the boxes, the shown table and the
// settings text. It clears the data-valid flag, as what was checked was
// checked for another station.

StationChoice TFormMain::stationChoice() const
{
    return {m_state.stationKind,
            m_state.bandCode,
            m_state.moduleCode,
            m_state.chosenModule,
            {m_state.table, m_state.settingsLines},
            !m_panel1->isHidden(),
            !m_memo1->isHidden(),
            !m_grid->isHidden()};
}

void TFormMain::restoreStationChoice(const StationChoice &choice)
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
    m_edit2->setText(QString::number(StationProfiles::get(choice.kind).lowKHz));
    showWorkArea(choice.workAreaShown);
    showSettingsText(choice.settingsShown);
    showTable(choice.tableShown);
}

template <class Choose>
void TFormMain::chooseStation(const QString &step, Choose &&choose)
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

void TFormMain::selectStationType(StationKind kind)
{
    chooseStation(QStringLiteral("Тип радиостанции"), [&] {
        {
            const ChannelTableModel::TableChange change(*m_model); // the boxes are detached
            m_state.selectStation(kind);
        }
        applyStationSelection();
    });
}

void TFormMain::N3062Click()
{
    selectStationType(StationKind::Band30_60);
}
void TFormMain::N3063Click()
{
    selectStationType(StationKind::Band144_174);
}
void TFormMain::N3065Click()
{
    selectStationType(StationKind::Band400_486);
}

void TFormMain::selectModule(int code)
{
    chooseStation(QStringLiteral("Модуль"), [&] {
        m_state.setModuleCode(static_cast<std::uint8_t>(code));
        refreshStationMenus();
    });
}

void TFormMain::N10Click()
{
    selectModule(0);
}
void TFormMain::N06200031Click()
{
    selectModule(1);
}
void TFormMain::N12Click()
{
    selectModule(2);
}
void TFormMain::N9Click()
{
    selectModule(3);
}
void TFormMain::N13Click()
{
    selectModule(4);
}
void TFormMain::N14Click()
{
    selectModule(5);
}
