#include "common/paths.h"

#include <QStandardPaths>

QString Paths::systemConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}
