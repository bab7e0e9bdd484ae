#pragma once

// vetral-cli run as a child process in a home of its own: a configuration
// folder whose V404Options.ini maps COM1 to COM7 to simulated stations or to
// nothing, a data folder for the archive of reads, and the channel files of
// the worked example.

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <functional>
#include <unistd.h>

// The two worked rows of the radio image (144-174 MHz, DCS mode "+") under
// settings whose every byte differs from its neighbours'.
inline const QStringList kWorkedSettings = {
    "[Общие установки]",
    "Серийный номер=100000",
    "Id_номер=12AB",
    "Тон1=1750",
    "Тон2=1989",
    "Тон3=705",
    "Тон4=715",
    "Тон5=2550",
    "Тон6=700",
    "Тон7=1000",
    "Тон8=1200",
    "Тон9=1500",
    "Тон10=2000",
    "P_1=1",
    "P_2=2",
    "P_3=3",
    "P_4=4",
    "Яркость диодов=3",
    "Громкость=8",
    "МинГромкость=2",
    "Пик_кнопок=+",
    "ФВ=42",
    "Код_DCS=+",
    "Ф_Скан=+",
    "Ф_V=-",
    "ВУ=+",
    "СК=1",
    "Тип=0",
    "ТипВУ=2",
};
inline const QStringList kWorkedRows = {
    "[1]",         "Номер=1",    "Rx=144000",    "Tx=144000",     "CTCSS_Rx=67,0",  "CTCSS_Tx=Нет", "DCS_Rx=Нет",
    "DCS_Tx=Нет",  "Тон_Rx=Нет", "Тон_Tx=Нет",   "ШП=1",          "P_max=4",        "P_min=1",      "Сканировать=да",
    "Sw=25",       "Id_Тон=нет", "Tx_Off=Норм",  "Время=Нет",     "Активен=да",     "[2]",          "Номер=2",
    "Rx=145500",   "Tx=144900",  "CTCSS_Rx=Нет", "CTCSS_Tx=71,9", "DCS_Rx=Нет",     "DCS_Tx=Нет",   "Тон_Rx=3",
    "Тон_Tx=Нет",  "ШП=2",       "P_max=3",      "P_min=2",       "Сканировать=да", "Sw=12,5",      "Id_Тон=да",
    "Tx_Off=RSSI", "Время=5",    "Активен=да",
};
// What a write of the worked file sends after the start byte.
inline const QString kWorkedDump = "0B 08 02 C8 00 AF C7 46 48 FF 46 64 78 96 C8 12 AB 42 02 C8 12 02 00 00 00\n"
                                   "BE 01 11 D8 81 11 68 01 01 C8 00 00 01 01 04 FF 00 00\n"
                                   "6E 02 11 DC 41 11 6A 41 C8 02 03 00 02 02 03 F6 05 00\n";

// The worked rows as `csv export` writes them, and a CSV of headers only.
inline const QByteArray kWorkedCsv =
    "\xEF\xBB\xBF№ кан.; Rx, кГц; Tx, кГц;CTC_Rx;CTC_Tx;DCS_Rx;DCS_Tx;Тон_Rx;Тон_Tx;  ШП;"
    "P_max;P_min;Скан.;  SW;Id_Тон;Tx_Off;Время;Акт\r\n"
    "1;144000;144000;67,0;Нет;Нет;Нет;Нет;Нет;1;4;1;+;25;;Норм;Нет;+\r\n"
    "2;145500;144900;Нет;71,9;Нет;Нет;3;Нет;2;3;2;+;12,5;+;RSSI;5;+\r\n";
inline const QByteArray kHeadersCsv = kWorkedCsv.first(kWorkedCsv.indexOf("\r\n") + 2);

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline void writeCp1251(const QString &path, const QStringList &lines)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QStringEncoder cp1251("windows-1251");
    file.write(cp1251.encode(lines.join("\r\n") + "\r\n"));
}

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

class CliHome
{
public:
    CliHome()
    {
        QVERIFY(m_root.isValid());
        QVERIFY(QDir().mkpath(configFolder()));
        mapPorts({});
        QStringList loud = kWorkedSettings;
        loud.replaceInStrings(QRegularExpression("^Громкость=8$"), "Громкость=17");
        writeCp1251(path("worked.ini"), kWorkedSettings + kWorkedRows);
        writeCp1251(path("loud.ini"), loud + kWorkedRows);
        writeCp1251(path("norows.ini"), kWorkedSettings);
        writeCp1251(path("cut.ini"), kWorkedSettings + kWorkedRows.mid(0, kWorkedRows.indexOf("Tx_Off=RSSI")));
        writeBytes(path("worked.csv"), kWorkedCsv);
        writeBytes(path("headers.csv"), kHeadersCsv);
    }

    QString path(const QString &name) const { return m_root.filePath(name); }
    QString root() const { return m_root.path(); }
    QString configFolder() const { return path("config/vetral"); }
    QString archiveFolder() const { return path("data/vetral/Архив чтений"); }

    // COM1 to COM7: the devices given by port number, nothing for the others.
    void mapPorts(const QMap<int, QString> &devices) const
    {
        QStringList ports{"[Ports]"};
        for (int n = 1; n <= 7; ++n)
            ports.append(QString("COM%1=%2").arg(n).arg(devices.value(n)));
        writeCp1251(configFolder() + "/V404Options.ini", ports);
    }

    // `output` takes the child's standard output instead of the test;
    // kClosedPipe is a pipe whose reading end is already closed, and
    // kClosedStreams starts the child with standard output and error closed
    // (`>&- 2>&-`). `started` is told the child's process id. The child
    // starts with `ignoredSignal` ignored, as under nohup or in a background
    // job of a plain shell. When an argument holds a backslash,
    // every argument is passed through printf's %b, so that a backslash and
    // 0351 reach the child as the byte 0xE9 (no QString carries such a name).
    static inline const QString kClosedPipe = "|closed";
    static inline const QString kClosedStreams = "|closed streams";
    CliRun run(const QStringList &arguments, const QString &output = QString(),
               const std::function<void(qint64)> &started = {}, int ignoredSignal = 0) const
    {
        QProcess process;
        int pipeEnds[2] = {-1, -1};
        if (output == kClosedPipe && ::pipe(pipeEnds) == 0)
            ::close(pipeEnds[0]);
        else if (!output.isEmpty() && output != kClosedStreams)
            process.setStandardOutputFile(output);
        const int writeEnd = pipeEnds[1];
        const bool closeStreams = output == kClosedStreams;
        process.setChildProcessModifier([writeEnd, closeStreams, ignoredSignal] {
            if (writeEnd >= 0)
                ::dup2(writeEnd, STDOUT_FILENO);
            if (closeStreams) {
                ::close(STDOUT_FILENO);
                ::close(STDERR_FILENO);
            }
            if (ignoredSignal != 0)
                ::signal(ignoredSignal, SIG_IGN);
        });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", path("home"));
        env.insert("XDG_CONFIG_HOME", path("config"));
        env.insert("XDG_DATA_HOME", path("data"));
        process.setProcessEnvironment(env);
        if (std::any_of(arguments.cbegin(), arguments.cend(), [](const QString &a) { return a.contains('\\'); }))
            process.start("/bin/sh",
                          QStringList{"-c",
                                      "n=$#; for a; do b=$(printf '%bx' \"$a\"); set -- \"$@\" \"${b%x}\"; done; "
                                      "shift $n; exec \"$0\" \"$@\"",
                                      VETRAL_CLI_PATH}
                              + arguments);
        else
            process.start(VETRAL_CLI_PATH, arguments);
        if (pipeEnds[1] >= 0)
            ::close(pipeEnds[1]);
        if (started && process.waitForStarted())
            started(process.processId());
        CliRun result;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

private:
    QTemporaryDir m_root;
};
