#pragma once

#include <QFile>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

// The channel file the benchmarks write: `channels` channels 250 kHz apart
// from 144 MHz, every one with a CTCSS tone and the scan flag.
inline QStringList benchChannelFile(int channels)
{
    QStringList lines{"[Общие установки]", "Серийный номер=100000", "Id_номер=0001"};
    for (int n = 1; n <= 10; ++n)
        lines.append(QString("Тон%1=%2").arg(n).arg(1000 + 100 * n));
    lines += QStringList{"P_1=1",          "P_2=2",        "P_3=3", "P_4=4",     "Яркость диодов=3", "Громкость=8",
                         "МинГромкость=2", "Пик_кнопок=+", "ФВ=00", "Код_DCS=+", "Ф_Скан=+",         "Ф_V=-",
                         "ВУ=-",           "СК=1",         "Тип=0", "ТипВУ=0"};
    for (int r = 1; r <= channels; ++r) {
        const QString rx = QString::number(144000 + 250 * r);
        lines += QStringList{QString("[%1]").arg(r),
                             QString("Номер=%1").arg(r),
                             "Rx=" + rx,
                             "Tx=" + rx,
                             "CTCSS_Rx=67,0",
                             "CTCSS_Tx=Нет",
                             "DCS_Rx=Нет",
                             "DCS_Tx=Нет",
                             "Тон_Rx=Нет",
                             "Тон_Tx=Нет",
                             "ШП=1",
                             "P_max=3",
                             "P_min=2",
                             "Сканировать=да",
                             "Sw=25",
                             "Id_Тон=нет",
                             "Tx_Off=Норм",
                             "Время=Нет",
                             "Активен=да"};
    }
    return lines;
}

// Windows-1251 with CR LF, as the program writes its channel files.
inline bool writeBenchFile(const QString &path, const QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QStringEncoder cp1251("windows-1251");
    file.write(cp1251.encode(lines.join("\r\n") + "\r\n"));
    return true;
}
