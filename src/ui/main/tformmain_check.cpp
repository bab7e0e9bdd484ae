#include "check/datacheck.h"
#include "common/paths.h"
#include "main/tformmain.h"
#include "services/guard.h"

void TFormMain::N19Click()
{
    // The flag is cleared by the check itself before anything can fail, so a
    // platform error (a conversion, MyTemp.ini) also leaves the data unchecked.
    m_state.dataValid = false;
    guarded(m_ui, [&] {
        const DataCheckResult result = DataCheck::run(m_state, Paths::tempSettingsFile());
        if (result.refusal)
            m_ui.showRefusal(*result.refusal);
        else
            m_ui.showMessage(DataCheck::successText());
    });
}
