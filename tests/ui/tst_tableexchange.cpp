#include "core/support/tablefixtures.h"
#include "exchange/channelcsv.h"
#include "files/windows1251.h"
#include "main/columnvaluedialog.h"
#include "main/tablefinddialog.h"
#include "mainwindowfixture.h"
#include "paper/support/pdftext.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTemporaryDir>

// The table's exchange, paper, find and one value for a selection, as the
// window's entries run them; what they compute is tested in the core.
class TableExchangeTest : public QObject
{
    Q_OBJECT
private slots:
    void csvImport_data();
    void csvImport();
    void exportAndPaper_data();
    void exportAndPaper();
    void find();
    void setSelected_data();
    void setSelected();
    void windowGrowsAndComesBackAsLeft();
};

namespace {
QStringList column(const ChannelTable &table, int c)
{
    QStringList out;
    for (int row = 1; row < table.rowCount(); ++row)
        out << table.cell(c, row);
    return out;
}
} // namespace

void TableExchangeTest::csvImport_data()
{
    QTest::addColumn<bool>("withTable"); // three channels from 140000, checked
    QTest::addColumn<bool>("csv");       // two channels from 150000, or the headers alone
    QTest::addColumn<int>("choice");     // 0 replace, 1 insert, -1 cancel
    QTest::addColumn<QStringList>("rx");
    QTest::addColumn<QString>("message");
    const QStringList before{"140000", "141000", "142000"};
    QTest::newRow("replaces") << true << true << 0 << QStringList{"150000,00", "151000,00"} << "";
    QTest::newRow("inserts before the current row")
        << true << true << 1 << QStringList{"140000", "150000,00", "151000,00", "141000", "142000"} << "";
    QTest::newRow("question cancelled") << true << true << -1 << before << "";
    QTest::newRow("refused file changes nothing") << true << false << 0 << before << "Файл CSV не принят: строка 2";
    QTest::newRow("no table yet: nothing asked") << false << true << -1 << QStringList{"150000,00", "151000,00"} << "";
}

void TableExchangeTest::csvImport()
{
    QFETCH(bool, withTable);
    QFETCH(bool, csv);
    QFETCH(int, choice);
    QFETCH(QStringList, rx);
    QFETCH(QString, message);
    MainWindowFixture f;
    if (withTable) {
        f.makeTemplate("3", "140000", "1000");
        f.trigger("N19");
        f.widget<QTableView>("StringGrid1")->setCurrentIndex(f.window->tableModel()->index(1, 0));
    }
    const ChannelTable was = f.state.table;
    QTemporaryDir dir;
    f.ui.nextOpenName = dir.filePath("t.csv");
    ChannelTable file = templateTable(2, "150000");
    file.setRowCount(csv ? 3 : 1);
    QVERIFY(!ChannelCsv::save(file, f.ui.nextOpenName, ChannelCsv::Encoding::Utf8));
    f.ui.clear();
    f.ui.choice = choice;

    f.trigger("N1ImportCsv");
    QCOMPARE(column(f.state.table, ChannelTable::Rx), rx);
    QCOMPARE(f.ui.messages.join('\n').left(message.size()), message);
    QCOMPARE(f.ui.questions.size(), withTable && message.isEmpty() ? 1 : 0);
    if (f.state.table == was) {
        QCOMPARE(f.state.dataValid, withTable);
        return;
    }
    QVERIFY(!f.state.dataValid && f.isShown("StringGrid1") && !f.state.settingsLines.isEmpty());
    f.trigger("TableUndo"); // the whole import is one step
    QVERIFY(f.state.table == was);
}

void TableExchangeTest::exportAndPaper_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QByteArray>("head"); // the file's first bytes; empty: a PDF
    QTest::newRow("CSV, UTF-8") << QByteArray("N1ExportCsv") << 0 << QByteArray("\xEF\xBB\xBF№ кан.;");
    QTest::newRow("CSV, Windows-1251") << QByteArray("N1ExportCsv") << 1 << Windows1251::encode("№ кан.;");
    QTest::newRow("PDF") << QByteArray("N1SavePdf") << 0 << QByteArray();
    QTest::newRow("printer") << QByteArray("N1Print") << 0 << QByteArray();
}

void TableExchangeTest::exportAndPaper()
{
    QFETCH(QByteArray, entry);
    QFETCH(int, filter);
    QFETCH(QByteArray, head);
    MainWindowFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath("out");
    f.ui.nextSaveName = path;
    f.ui.nextSaveFilter = filter;
    f.ui.printerPdf = path;
    f.trigger(entry.constData());
    QCOMPARE(f.ui.messages, QStringList{"Таблицы каналов еще нет: создайте шаблон или прочитайте файл."});
    QVERIFY(!QFile::exists(path));

    f.makeTemplate("40", "140000", "1000");
    f.ui.clear();
    f.trigger(entry.constData());
    QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (!head.isEmpty()) {
        QCOMPARE(file.read(head.size()), head);
        return;
    }
    QCOMPARE(PdfText::pages(path), 2);
    QVERIFY(PdfText::text(path, 2).contains("Страница 2 из 2"));
}

void TableExchangeTest::find()
{
    MainWindowFixture f;
    f.makeTemplate("3", "140000", "1000");
    f.trigger("TableFindShow");
    auto *dialog = f.window->findChild<TableFindDialog *>();
    QVERIFY(dialog->isVisible());
    dialog->textEdit()->setText("141000,00");
    for (int press = 0; press < 3; ++press)
        f.trigger("TableFindNext");
    const QModelIndex at = f.widget<QTableView>("StringGrid1")->currentIndex();
    QCOMPARE(QPoint(at.column(), at.row() + 1), QPoint(ChannelTable::Rx, 2));
    QCOMPARE(dialog->status(), "Найдено с начала таблицы: строка 2, \"Rx, кГц\"");
    dialog->textEdit()->setText("155000");
    f.trigger("TableFindPrevious");
    QCOMPARE(dialog->status(), "Не найдено: \"155000\"");
}

void TableExchangeTest::setSelected_data()
{
    QTest::addColumn<QRect>("cells"); // columns and table rows
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("first"); // the first column afterwards, or the refusal's start
    QTest::newRow("a list column") << QRect(QPoint(5, 1), QPoint(5, 2)) << "023" << QStringList{"023", "023", "Нет"};
    QTest::newRow("Rx and Tx typed") << QRect(QPoint(1, 2), QPoint(2, 3)) << "150000.5"
                                     << QStringList{"140000", "150000,5", "150000,5"};
    QTest::newRow("across kinds refused")
        << QRect(QPoint(4, 1), QPoint(5, 1)) << "" << QStringList{"Одно значение можно задать только"};
}

void TableExchangeTest::setSelected()
{
    QFETCH(QRect, cells);
    QFETCH(QString, value);
    QFETCH(QStringList, first);
    MainWindowFixture f;
    f.makeTemplate("3", "140000", "1000");
    f.trigger("N19");
    const ChannelTable was = f.state.table;
    auto *grid = f.widget<QTableView>("StringGrid1");
    const auto *model = f.window->tableModel();
    grid->setCurrentIndex(model->index(cells.top() - 1, cells.left()));
    grid->selectionModel()->select(
        QItemSelection(model->index(cells.top() - 1, cells.left()), model->index(cells.bottom() - 1, cells.right())),
        QItemSelectionModel::ClearAndSelect);
    f.ui.clear();
    f.trigger("TableSetSelected");
    auto *dialog = f.window->findChild<ColumnValueDialog *>();
    if (value.isEmpty()) {
        QVERIFY(!dialog->isVisible());
        QVERIFY(f.ui.messages.value(0).startsWith(first.constFirst()));
        return;
    }
    QVERIFY(dialog->isVisible());
    if (dialog->list()->isVisible())
        dialog->list()->setCurrentText(value);
    else
        dialog->typed()->setText(value);
    dialog->accept();
    QCOMPARE(column(f.state.table, cells.left()), first);
    QVERIFY(!f.state.dataValid);
    f.trigger("TableUndo"); // one step for every cell
    QVERIFY(f.state.table == was);
}

void TableExchangeTest::windowGrowsAndComesBackAsLeft()
{
    QSize grown;
    {
        MainWindowFixture f;
        const QSize first = f.window->size();
        QCOMPARE(f.window->minimumSize(), first);
        QVERIFY(f.window->windowFlags() & Qt::WindowMaximizeButtonHint);
        auto *grid = f.widget<QTableView>("StringGrid1");
        const QSize table = grid->size();
        const auto widths = [grid] {
            int total = 0;
            for (int c = 0; c < ChannelTable::ColumnCount; ++c)
                total += grid->columnWidth(c);
            return total;
        };
        const int columns = widths();
        f.window->resize(first + QSize(401, 300));
        QCOMPARE(grid->size(), table + QSize(401, 300));
        QCOMPARE(widths(), columns + 401); // not a pixel lost to rounding
        grown = f.window->size();
        // Back from the transfer or report dialog, a maximised window stays so.
        f.window->showMaximized();
        f.window->showMinimized();
        f.window->restoreNormal();
        QCOMPARE(f.window->windowState(), Qt::WindowMaximized);
        f.window->showNormal();
        QVERIFY(f.window->close());
    }
    MainWindowFixture again{false};
    QCOMPARE(again.window->size(), grown);
}

QTEST_MAIN(TableExchangeTest)
#include "tst_tableexchange.moc"
