#include "main/channeltablemodel.h"
#include "main/tformmain.h"
#include "services/uiservices.h"

#include <QPlainTextEdit>

void TFormMain::settingsChanged()
{
    refreshSettingsText();
    m_memo1->repaint();
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
