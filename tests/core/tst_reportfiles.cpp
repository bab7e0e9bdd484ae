#include "batch/batchjournal.h"
#include "common/platformerror.h"
#include "report/reportdocument.h"
#include "report/reportfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kTime(QDate(2024, 3, 7), QTime(9, 5, 2));

ReportDocument smallReport(const QString &serial)
{
    ChannelTable table;
    table.setRowCount(2);
    table.setCell(ChannelTable::Number, 1, QStringLiteral("1"));
    return ReportDocument::build(serial, {QStringLiteral("[Общие установки]")}, table, 1);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestReportFiles : public QObject
{
    Q_OBJECT

private slots:
    // The batch's journal: a field that holds the separator, a quote or a
    // line break is quoted, so a spreadsheet program keeps it in one cell.
    void journalFields_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("plain") << QString("записано и проверено")
                               << QByteArray("COM3;0A0001;0101;записано и проверено;");
        QTest::newRow("separator") << QString("записано и проверено; ошибка при записи протокола: нет места")
                                   << QByteArray("COM3;0A0001;0101;\"записано и проверено; ошибка при записи "
                                                 "протокола: нет места\";");
        QTest::newRow("quote") << QString("ответ \"AK\"") << QByteArray("COM3;0A0001;0101;\"ответ \"\"AK\"\"\";");
        QTest::newRow("line break") << QString("две\nстроки") << QByteArray("COM3;0A0001;0101;\"две\nстроки\";");
    }
    void journalFields()
    {
        QFETCH(QString, result);
        QFETCH(QByteArray, line);
        const QByteArray csv = BatchJournal::csv({{"COM3", "0A0001", "0101", result, {}, {}, {}}});
        QVERIFY(csv.startsWith("\xEF\xBB\xBF\xD0\x9F\xD0\xBE\xD1\x80\xD1\x82;")); // the mark, then "Порт;"
        const QList<QByteArray> lines = csv.split('\r');
        QCOMPARE(lines.size(), 3); // the heading, the row, nothing after the last CR LF
        QCOMPARE(lines.at(1), "\n" + line + ";;");
    }

    void baseName_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("expected");
        QTest::newRow("usual") << QStringLiteral("К7ТВ-12345")
                               << QStringLiteral("Протокол К7ТВ-12345 2024-03-07 09-05-02");
        QTest::newRow("empty") << QString() << QStringLiteral("Протокол 2024-03-07 09-05-02");
        QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral("Протокол 2024-03-07 09-05-02");
        QTest::newRow("forbidden characters") << QStringLiteral("a/b\\c:d*e?f\"g<h>i|j")
                                              << QStringLiteral("Протокол a_b_c_d_e_f_g_h_i_j 2024-03-07 09-05-02");
        QTest::newRow("control characters")
            << QStringLiteral("a\tb\nc") << QStringLiteral("Протокол a_b_c 2024-03-07 09-05-02");
        QTest::newRow("ends trimmed") << QStringLiteral(" .К7.. ") << QStringLiteral("Протокол К7 2024-03-07 09-05-02");
        QTest::newRow("dots only") << QStringLiteral("..") << QStringLiteral("Протокол 2024-03-07 09-05-02");
        QTest::newRow("long") << QString(
            300, u'Ж') << QStringLiteral("Протокол ") + QString(80, u'Ж') + QStringLiteral(" 2024-03-07 09-05-02");
    }
    void baseName()
    {
        QFETCH(QString, serial);
        QFETCH(QString, expected);
        QCOMPARE(ReportFiles::baseName(serial, kTime), expected);
    }

    void longNameFitsTheFileSystem()
    {
        // Shortening must not leave half a surrogate pair behind.
        QString serial = QStringLiteral("a");
        for (int i = 0; i < 100; ++i)
            serial += QString::fromUcs4(U"\U0001F4FB");
        const QString base = ReportFiles::baseName(serial, kTime);
        QVERIFY(!base.contains(QStringLiteral("\uFFFD")));
        QVERIFY(QString::fromUtf8(base.toUtf8()) == base);
        QVERIFY(base.toUtf8().size() + 10 < 255);

        QTemporaryDir dir;
        const QString path = ReportFiles::save(smallReport(serial), serial, dir.path(), kTime);
        QVERIFY(QFileInfo::exists(path));
    }

    void everySaveMakesANewFile()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Документы/Протоколы Ветрал"));
        const QString first = ReportFiles::save(smallReport(QStringLiteral("A")), QStringLiteral("К7"), folder, kTime);
        const QByteArray firstBytes = contents(first);
        const QString second = ReportFiles::save(smallReport(QStringLiteral("B")), QStringLiteral("К7"), folder, kTime);
        const QString third = ReportFiles::save(smallReport(QStringLiteral("C")), QStringLiteral("К7"), folder, kTime);

        const QString base = folder + QStringLiteral("/Протокол К7 2024-03-07 09-05-02");
        QCOMPARE(first, base + QStringLiteral(".docx"));
        QCOMPARE(second, base + QStringLiteral(" (2).docx"));
        QCOMPARE(third, base + QStringLiteral(" (3).docx"));
        QVERIFY(!firstBytes.isEmpty());
        QCOMPARE(contents(first), firstBytes);
        QVERIFY(contents(second) != firstBytes);
    }

    void uniquePathSkipsTakenNames()
    {
        QTemporaryDir dir;
        for (const char *name : {"r.docx", "r (2).docx", "r (4).docx"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(ReportFiles::uniquePath(dir.path(), QStringLiteral("r")), dir.filePath(QStringLiteral("r (3).docx")));
        QCOMPARE(ReportFiles::uniquePath(dir.path(), QStringLiteral("s")), dir.filePath(QStringLiteral("s.docx")));
    }

    void folderThatCannotBeMade()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("file"));
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        try {
            ReportFiles::save(smallReport(QStringLiteral("S")), QStringLiteral("S"), blocker + QStringLiteral("/sub"),
                              kTime);
            QFAIL("a report was written below a file");
        } catch (const PlatformError &error) {
            QVERIFY2(error.text().contains(blocker), qPrintable(error.text()));
        }
    }
};

QTEST_GUILESS_MAIN(TestReportFiles)
#include "tst_reportfiles.moc"
