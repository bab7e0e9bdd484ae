#pragma once

#include "common/refusal.h"

// The report needs data that passed the check; these are its answers when the
// data-valid flag is clear.
namespace ReportRefusals {

// "Создать протокол" of the main menu.
Refusal menuNotChecked();
// "Создать" of the report dialog (the same words without the exclamation marks).
Refusal buttonNotChecked();

MaybeRefusal forMenu(bool dataValid);
MaybeRefusal forButton(bool dataValid);

} // namespace ReportRefusals
