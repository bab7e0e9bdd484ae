#include "services/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace Startup {

void prepare(QApplication &app)
{
    QCoreApplication::setApplicationName(QStringLiteral("vetral"));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *catalogue : {"qtbase_ru", "qtserialport_ru"}) {
        auto *translator = new QTranslator(&app);
        // Without the catalogue Qt's texts stay in English; nothing else changes.
        if (translator->load(QLatin1String(catalogue), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

const char *messageTitle()
{
    return "Ветрал";
}

} // namespace Startup
