// The channel table's CSV through LibreOffice Calc and back: exported, opened
// as a spreadsheet (.ods) with the options of a Russian desktop, saved as CSV
// with the same options and imported, it is the same table. Runs only where
// LibreOffice Calc is installed and skips with a message elsewhere.
#include "csvfixtures.h"
#include "libreoffice.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// ";" between fields, '"' around them, UTF-8, from line 1, standard cell
// formats, Russian (decimal comma).
const QString kOptions = QStringLiteral("59,34,76,1,,1049");

} // namespace

class TestCsvLibreOffice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void convert(const QStringList &arguments, const QString &input, const QString &outdir)
    {
        QString output;
        QVERIFY2(LibreOffice::convert(m_dir.filePath(QStringLiteral("profile")), arguments, input, outdir, output),
                 qPrintable(output));
    }

private slots:
    void initTestCase()
    {
        if (LibreOffice::program().isEmpty())
            QSKIP("LibreOffice (soffice) is not installed: the CSV is not opened in a spreadsheet program");
        if (!LibreOffice::hasPart(QStringLiteral("sc")))
            QSKIP("LibreOffice Calc is not installed: the CSV is not opened in a spreadsheet program");
        QVERIFY(m_dir.isValid());
    }

    void roundTrip_data()
    {
        QTest::addColumn<ChannelCsv::Encoding>("encoding");
        QTest::addColumn<QString>("charset"); // LibreOffice's number of the encoding
        QTest::newRow("UTF-8") << ChannelCsv::Encoding::Utf8 << "76";
        QTest::newRow("Windows-1251") << ChannelCsv::Encoding::Windows1251 << "1";
    }
    void roundTrip()
    {
        QFETCH(ChannelCsv::Encoding, encoding);
        QFETCH(QString, charset);
        const QString options = QString(kOptions).replace(",76,", u',' + charset + u',');
        const ChannelPlan state = CsvFixtures::stationFormState(12);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const QString folder = m_dir.filePath(tag);
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/back")));
        const QString exported = folder + QStringLiteral("/каналы.csv");
        QVERIFY(!ChannelCsv::save(state.table, exported, encoding));

        convert({QStringLiteral("--infilter=CSV:") + options, QStringLiteral("--convert-to"), QStringLiteral("ods")},
                exported, folder);
        convert({QStringLiteral("--convert-to"), QStringLiteral("csv:Text - txt - csv (StarCalc):") + options},
                folder + QStringLiteral("/каналы.ods"), folder + QStringLiteral("/back"));

        const auto imported = ChannelCsv::load(folder + QStringLiteral("/back/каналы.csv"));
        QCOMPARE(CsvFixtures::rowsOf(CsvFixtures::importedTable(imported)), CsvFixtures::rowsOf(state.table));
    }
};

QTEST_GUILESS_MAIN(TestCsvLibreOffice)
#include "tst_csvlibreoffice.moc"
