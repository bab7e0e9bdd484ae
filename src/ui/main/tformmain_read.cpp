#include "main/channeltablemodel.h"
#include "main/tablehistory.h"
#include "main/tformmain.h"
#include "services/uiservices.h"

#include <QPlainTextEdit>

void TFormMain::settingsChanged()
{
    refreshSettingsText();
    m_memo1->repaint();
}

void TFormMain::readStarting()
{
    m_history->beginWholeStep();
}

void TFormMain::readEnded()
{
    m_history->endWholeStep(QStringLiteral("Чтение из станции"));
}

void TFormMain::tableChanging()
{
    m_model->beginTableChange();
}

void TFormMain::tableChanged()
{
    m_model->endTableChange();
}

void TFormMain::stationSelected(std::optional<StationKind> kind)
{
    if (kind)
        applyStationSelection();
}

void TFormMain::tableShown()
{
    showTable(true);
}

void TFormMain::moduleMarked()
{
    refreshStationMenus();
}

void TFormMain::refused(const Refusal &refusal)
{
    m_ui.showRefusal(refusal);
}
