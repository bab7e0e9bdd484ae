#include "main/tformmain.h"
#include "report/reportdocument.h"
#include "services/guard.h"

void TFormMain::N22Click()
{
    guarded(m_ui, [&] {
        if (const auto refusal = ReportRefusals::forMenu(m_state.dataValid)) {
            m_ui.showRefusal(*refusal);
            return;
        }
        showMinimized();
        emit reportDialogRequested();
    });
}
