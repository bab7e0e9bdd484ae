#include "main/tformmain.h"
#include "services/uiservices.h"

#include <QPlainTextEdit>

void TFormMain::settingsChanged()
{
    refreshSettingsText();
    m_memo1->repaint();
}

void TFormMain::stationSelected(std::optional<StationKind> kind)
{
    if (kind)
        applyStationSelection();
    refreshTable();
}

void TFormMain::tableShown()
{
    refreshTable();
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
