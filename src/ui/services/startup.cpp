#include "services/startup.h"

#include "common/qttranslations.h"

#include <QApplication>

namespace Startup {

void prepare(QApplication &app)
{
    QCoreApplication::setApplicationName(QStringLiteral("vetral"));
    QtTranslations::installRussian(app);
}

const char *messageTitle()
{
    return "Ветрал";
}

} // namespace Startup
