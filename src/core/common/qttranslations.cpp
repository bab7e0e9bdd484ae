#include "common/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace QtTranslations {

void installRussian(QCoreApplication &app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *catalogue : {"qtbase_ru", "qtserialport_ru"}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(QLatin1String(catalogue), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace QtTranslations
