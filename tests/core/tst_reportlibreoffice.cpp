// Opens a generated report in LibreOffice and converts it to PDF and to plain
// text: proof that a real word processor reads the package as it is. Runs
// only where LibreOffice Writer is installed and skips with a message
// elsewhere. Set VETRAL_REPORT_KEEP to a folder to keep the .docx and .pdf.
#include "libreoffice.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "table/channelplan.h"
#include "table/templatebuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestReportLibreOffice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_docx;
    // The conversions to PDF and to text, started together.
    std::unique_ptr<LibreOffice::Conversion> m_pdf, m_text;

    std::unique_ptr<LibreOffice::Conversion> convert(const QString &filter)
    {
        return std::make_unique<LibreOffice::Conversion>(m_dir.filePath(QStringLiteral("profile-") + filter.left(3)),
                                                         QStringList{QStringLiteral("--convert-to"), filter}, m_docx,
                                                         m_dir.path());
    }

private slots:
    void initTestCase()
    {
        if (LibreOffice::program().isEmpty())
            QSKIP("LibreOffice (soffice) is not installed: the report is not opened in a word processor");
        if (!LibreOffice::hasPart(QStringLiteral("sw")))
            QSKIP("LibreOffice Writer is not installed: the report is not opened in a word processor");
        QVERIFY(m_dir.isValid());

        ChannelPlan state;
        QVERIFY(
            !TemplateBuilder::build({QStringLiteral("99"), QStringLiteral("144000"), QStringLiteral("12,5")}, state));
        state.table.setChecked(ChannelTable::IdTone, 2, true);
        state.table.setChecked(ChannelTable::Scan, 3, false);
        m_docx = m_dir.filePath(QStringLiteral("Протокол К7ТВ-12345.docx"));
        DocxWriter::write(ReportDocument::build(QStringLiteral("К7ТВ-12345"), state.settingsLines, state.table, 99),
                          m_docx);
        m_pdf = convert(QStringLiteral("pdf"));
        m_text = convert(QStringLiteral("txt:Text (encoded):UTF8"));
    }

    void convertsToPdf()
    {
        QString output;
        QVERIFY2(m_pdf->finish(output), qPrintable(output));
        QFile pdf(m_dir.filePath(QStringLiteral("Протокол К7ТВ-12345.pdf")));
        QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(output));
        QVERIFY(pdf.read(5) == "%PDF-");
        const QString keep = qEnvironmentVariable("VETRAL_REPORT_KEEP");
        if (!keep.isEmpty()) {
            QDir().mkpath(keep);
            QFile::remove(keep + QStringLiteral("/report.pdf"));
            QFile::remove(keep + QStringLiteral("/report.docx"));
            QVERIFY(QFile::copy(pdf.fileName(), keep + QStringLiteral("/report.pdf")));
            QVERIFY(QFile::copy(m_docx, keep + QStringLiteral("/report.docx")));
        }
    }

    // The text LibreOffice reads out of the package: the title, the serial
    // number, the settings and every header row of the table.
    void readsTheContent()
    {
        QString output;
        QVERIFY2(m_text->finish(output), qPrintable(output));
        QFile file(m_dir.filePath(QStringLiteral("Протокол К7ТВ-12345.txt")));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(output));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains(QStringLiteral("Радиостанция серии \"Ветрал\"")));
        QVERIFY(text.contains(QStringLiteral("К7ТВ-12345")));
        QVERIFY(text.contains(QStringLiteral("Тон8=1989")));
        QCOMPARE(text.count(QStringLiteral("CTCSS_Rx")), 4);
        QVERIFY(text.contains(QStringLiteral("145225"))); // channel 99
    }
};

QTEST_GUILESS_MAIN(TestReportLibreOffice)
#include "tst_reportlibreoffice.moc"
