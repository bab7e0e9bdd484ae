#include "main/windowgeometry.h"

#include <QSettings>
#include <QWidget>

namespace {
const QString kGeometryKey = QStringLiteral("window/geometry");
} // namespace

namespace WindowGeometry {

void restore(QWidget &window, const QString &storeFile)
{
    // Qt brings a window stored on a screen unplugged since onto one that is there.
    const QSettings settings(storeFile, QSettings::IniFormat);
    window.restoreGeometry(settings.value(kGeometryKey).toByteArray());
}

void store(const QWidget &window, const QString &storeFile)
{
    // A settings file that cannot be written costs only the place of the next run.
    QSettings settings(storeFile, QSettings::IniFormat);
    settings.setValue(kGeometryKey, window.saveGeometry());
}

} // namespace WindowGeometry
