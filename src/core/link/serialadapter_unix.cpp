#include "link/serialadapter.h"

#include <QFileInfo>

QString latencyTimerInstructions(const QString &device)
{
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    return QStringLiteral("правилом udev, которое задаёт её при каждом подключении адаптера (образец - в "
                          "README программы, раздел «USB adapters and their latency»), или до отключения "
                          "адаптера командой\n"
                          "    echo 1 | sudo tee /sys/bus/usb-serial/devices/%1/latency_timer")
        .arg(name.isEmpty() ? QFileInfo(device).fileName() : name);
}
