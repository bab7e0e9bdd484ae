// The test report as PDF: the same texts as its .docx (one description of
// the report, two writers), its pages, and the format chosen by the name.
#include "common/platformerror.h"
#include "core/support/docxfixtures.h"
#include "pdftext.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "reportpaper.h"
#include "table/channelplan.h"
#include "table/templatebuilder.h"

#include <QtTest>

namespace {

ReportDocument report(int channels, const QString &serial)
{
    ChannelPlan state;
    if (TemplateBuilder::build({QString::number(channels), QStringLiteral("144000"), QStringLiteral("250")}, state))
        qFatal("template refused");
    state.table.setChecked(ChannelTable::IdTone, 1, true);
    state.table.setChecked(ChannelTable::Scan, channels, false);
    return ReportDocument::build(serial, state.settingsLines, state.table, channels);
}

// Every text a word processor shows of the .docx, as words.
QStringList docxWords(const QString &path)
{
    const DocxFixtures::Body body = DocxFixtures::readBody(DocxFixtures::unzip(path).value("word/document.xml"));
    QStringList texts;
    for (const DocxFixtures::Paragraph &p : body.before + body.after)
        texts << p.text;
    for (const QList<DocxFixtures::Cell> &row : body.rows)
        texts << DocxFixtures::rowTexts(row);
    return PdfText::words(texts.join(u' '));
}

} // namespace

class TestReportPdf : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void sameTextsAsDocx_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<int>("pages");
        // The settings fill the first page; the table follows on the next,
        // about 26 rows of 12 pt to a page.
        QTest::newRow("3 channels") << 3 << "К7ТВ-12345" << 2;
        QTest::newRow("31 channels, repeated header") << 31 << "" << 3;
        QTest::newRow("99 channels") << 99 << "Протокол \"№ 5\"; партия" << 5;
    }
    void sameTextsAsDocx()
    {
        QFETCH(int, channels);
        QFETCH(QString, serial);
        QFETCH(int, pages);
        const ReportDocument doc = report(channels, serial);
        const QString docx = m_dir.filePath(QStringLiteral("%1.docx").arg(channels));
        const QString pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(channels));
        DocxWriter::write(doc, docx);
        ReportPaper::write(doc, pdf);

        QCOMPARE(PdfText::words(PdfText::text(pdf)), docxWords(docx));
        QCOMPARE(PdfText::pages(pdf), pages);
        // The table does not start on a page of its own without its blank line.
        QVERIFY(PdfText::text(pdf, 1).contains(QStringLiteral("СК=1")));
    }

    // The extension chooses the format; an existing report stays as it was.
    void byExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("pdf") << "a.pdf" << QByteArray("%PDF-");
        QTest::newRow("PDF in capitals") << "b.PDF" << QByteArray("%PDF-");
        QTest::newRow("docx") << "c.docx" << QByteArray("PK");
        QTest::newRow("any other name is a .docx") << "d.txt" << QByteArray("PK");
        QTest::newRow("name ending in pdf without the dot") << "epdf" << QByteArray("PK");
    }
    void byExtension()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        const QString path = m_dir.filePath(name);
        ReportPaper::write(report(2, QStringLiteral("S")), path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll().startsWith(start), qPrintable(name));
        file.close();

        QVERIFY_THROWS_EXCEPTION(PlatformError, ReportPaper::write(report(3, QStringLiteral("T")), path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith(start));
    }
};

QTEST_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
