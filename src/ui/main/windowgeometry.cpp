#include "main/windowgeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {
const QString kGeometryKey = QStringLiteral("window/geometry");
} // namespace

namespace WindowGeometry {

void restore(QWidget &window, const QString &storeFile)
{
    const QSettings settings(storeFile, QSettings::IniFormat);
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    if (geometry.isEmpty() || !window.restoreGeometry(geometry))
        return;
    // A screen unplugged since leaves the window where no screen shows it.
    if (!QGuiApplication::screenAt(window.geometry().center()))
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            window.move(screen->availableGeometry().center() - window.rect().center());
}

void store(const QWidget &window, const QString &storeFile)
{
    // A settings file that cannot be written costs only the place of the next run.
    QSettings settings(storeFile, QSettings::IniFormat);
    settings.setValue(kGeometryKey, window.saveGeometry());
}

} // namespace WindowGeometry
