#include "report/reportrefusals.h"

namespace ReportRefusals {

Refusal menuNotChecked()
{
    return {QStringLiteral("Пока не будет произведена проверка данных, протокол создаваться не будет!!!")};
}

Refusal buttonNotChecked()
{
    return {QStringLiteral("Пока не будет произведена проверка данных, протокол создаваться не будет")};
}

MaybeRefusal forMenu(bool dataValid)
{
    if (dataValid)
        return std::nullopt;
    return menuNotChecked();
}

MaybeRefusal forButton(bool dataValid)
{
    if (dataValid)
        return std::nullopt;
    return buttonNotChecked();
}

} // namespace ReportRefusals
