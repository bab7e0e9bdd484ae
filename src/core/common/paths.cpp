#include "common/paths.h"

#include <QStandardPaths>

namespace Paths {

QString configFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString optionsFile()
{
    return configFolder() + QStringLiteral("/V404Options.ini");
}

QString tempSettingsFile()
{
    return configFolder() + QStringLiteral("/MyTemp.ini");
}

} // namespace Paths
