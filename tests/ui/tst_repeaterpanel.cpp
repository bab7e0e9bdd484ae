#include "check/datacheck.h"
#include "image/channelrecord.h"
#include "main/channeltablemodel.h"
#include "main/tablehistory.h"
#include "mainwindowfixture.h"

#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

const QString kNeedsCheck =
    QStringLiteral("Прежде чем производить настройку рентраслятора проверьте введеные данные !!!");
const QString kEmpty = QStringLiteral("Вы не указали номер канала !!!");
const QString kNotFound = QStringLiteral("Такого номера канала нет в таблице !!!");
const QString kRx = QStringLiteral("РЕТР_ПП");
const QString kTx = QStringLiteral("РЕТР_ПР");

// The main window with a passed check of a five-channel template whose row 3
// transmits on 150000 kHz, and the repeater panel open.
struct RepeaterFixture : MainWindowFixture
{
    QTemporaryDir dir;

    QFrame *panel() const { return widget<QFrame>("Panel3"); }
    template <class T>
    T *inPanel(const char *name) const
    {
        return panel()->findChild<T *>(QLatin1String(name));
    }

    // "Контроль" without the menu entry.
    bool check()
    {
        const DataCheckResult result = state.check(dir.filePath(QStringLiteral("MyTemp.ini")));
        if (!result.passed())
            qWarning("check refused: %s", qPrintable(result.text()));
        return result.passed();
    }

    bool prepare(int channels = 5)
    {
        makeTemplate(QString::number(channels), QStringLiteral("140000"), QStringLiteral("1000"));
        if (channels >= 3)
            state.table.setCell(ChannelTable::Tx, 3, QStringLiteral("150000"));
        if (!check())
            return false;
        trigger("N11");
        return !panel()->isHidden() && ui.messages.isEmpty();
    }

    // Types the number key by key, as the user does, picks the mode and presses "Запись".
    void press(const QString &number, bool transmit = false)
    {
        auto *edit = inPanel<QLineEdit>("Edit4");
        edit->clear();
        QTest::keyClicks(edit, number);
        (transmit ? inPanel<QRadioButton>("RadioButton2") : inPanel<QRadioButton>("RadioButton1"))->setChecked(true);
        QTest::mouseClick(inPanel<QPushButton>("BitBtn2"), Qt::LeftButton);
    }

    // What the table view is shown: the cells of one table row.
    QString shown(int column, int row) const { return window->tableModel()->index(row - 1, column).data().toString(); }
    bool scanShown(int row) const
    {
        return window->tableModel()->index(row - 1, ChannelTable::Scan).data(Qt::CheckStateRole).value<Qt::CheckState>()
               == Qt::Checked;
    }
};

} // namespace

class RepeaterTest : public QObject
{
    Q_OBJECT
private slots:
    void panelContent();
    void channelKeyFilter_data();
    void channelKeyFilter();
    void markReceiveThenTransmit();
    void pressingTwice();
    void write_data();
    void write();
    void pastedTextIsAConversionError();
    void checkCodesMarkedSide_data();
    void checkCodesMarkedSide();
    void recordPastTheTable();
    void rowWithoutBoxesAndVisibility();
    void closeOnlyHides();
};

void RepeaterTest::panelContent()
{
    RepeaterFixture f;
    QFrame *panel = f.panel();
    QCOMPARE(panel->parentWidget(), f.widget("Panel1"));
    QCOMPARE(panel->geometry(), QRect(537, 6, 252, 143));

    QStringList labels;
    for (QLabel *label : panel->findChildren<QLabel *>()) {
        label->ensurePolished();
        labels << label->text() + u'|' + (label->font().bold() ? "bold" : "plain") + u'|'
                      + label->palette().color(QPalette::WindowText).name();
    }
    QCOMPARE(labels, (QStringList{"НАСТРОЙКА РАБОТЫ РЕТРАНСЛЯТОРА|bold|#800080", "Номер канала|bold|#000080",
                                  "Рерим работы ретранслятора|bold|#008080"}));
    QCOMPARE(f.inPanel<QLineEdit>("Edit4")->text(), QString());
    QCOMPARE(f.inPanel<QRadioButton>("RadioButton1")->text(), QStringLiteral("Прием"));
    QVERIFY(f.inPanel<QRadioButton>("RadioButton1")->isChecked());
    QCOMPARE(f.inPanel<QRadioButton>("RadioButton2")->text(), QStringLiteral("Передача"));
    QVERIFY(!f.inPanel<QRadioButton>("RadioButton2")->isChecked());
    QCOMPARE(f.inPanel<QPushButton>("BitBtn2")->text(), QStringLiteral("Запись"));
    QCOMPARE(f.inPanel<QPushButton>("BitBtn3")->text(), QStringLiteral("Закрыть"));
    // every part fits inside the panel
    for (QWidget *child : panel->findChildren<QWidget *>())
        QVERIFY2(panel->rect().contains(child->geometry()), qPrintable(child->objectName()));
}

void RepeaterTest::channelKeyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("left"); // what the field holds after "1" and the key
    QTest::addColumn<bool>("refused");
    QTest::newRow("digit") << int(Qt::Key_7) << "17" << false;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << "" << false;
    QTest::newRow("comma") << int(Qt::Key_Comma) << "1" << true;
    QTest::newRow("minus") << int(Qt::Key_Minus) << "1" << true;
    QTest::newRow("letter") << int(Qt::Key_A) << "1" << true;
    QTest::newRow("blank") << int(Qt::Key_Space) << "1" << true;
}

void RepeaterTest::channelKeyFilter()
{
    QFETCH(int, key);
    QFETCH(QString, left);
    QFETCH(bool, refused);
    RepeaterFixture f;
    auto *edit = f.inPanel<QLineEdit>("Edit4");
    QTest::keyClick(edit, Qt::Key_1, Qt::NoModifier);
    QTest::keyClick(edit, Qt::Key(key), Qt::NoModifier);
    QCOMPARE(edit->text(), left);
    if (refused) {
        QCOMPARE(f.ui.messages, QStringList{"Вводите только цифры от 0 до 9"});
        QCOMPARE(f.ui.sounds, QList<Sound>{Sound::Default});
    } else {
        QVERIFY(f.ui.messages.isEmpty());
        QVERIFY(f.ui.sounds.isEmpty());
    }
}

void RepeaterTest::markReceiveThenTransmit()
{
    RepeaterFixture f;
    QVERIFY(f.prepare());
    QSignalSpy changed(f.window->tableModel(), &QAbstractItemModel::dataChanged);

    f.press("3");
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.shown(ChannelTable::Tx, 3), kTx);
    QCOMPARE(f.shown(ChannelTable::Rx, 3), QStringLiteral("142000"));
    QCOMPARE(f.state.savedRepeaterText, QStringLiteral("150000"));
    QVERIFY(!f.scanShown(3));
    QVERIFY(f.scanShown(2));
    QVERIFY(f.scanShown(4));
    QVERIFY(!f.state.dataValid);
    QVERIFY(!f.panel()->isHidden());
    // the view is told about the marked cell
    bool txCellReported = false;
    for (const QList<QVariant> &args : changed) {
        const auto from = args.at(0).toModelIndex();
        const auto to = args.at(1).toModelIndex();
        txCellReported |=
            from.row() <= 2 && to.row() >= 2 && from.column() <= ChannelTable::Tx && to.column() >= ChannelTable::Tx;
    }
    QVERIFY(txCellReported);

    // "Ретранслятор" refuses until the next passed check ...
    f.trigger("N11");
    QCOMPARE(f.ui.messages, QStringList{kNeedsCheck});
    QVERIFY(!f.panel()->isHidden());

    // ... while the open panel still marks
    f.ui.clear();
    f.press("3", true);
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.shown(ChannelTable::Tx, 3), QStringLiteral("150000"));
    QCOMPARE(f.shown(ChannelTable::Rx, 3), kRx);
    QCOMPARE(f.state.savedRepeaterText, QStringLiteral("142000"));

    // Each marking is one step of the table's history.
    f.window->findChild<TableHistory *>()->stack().undo();
    QCOMPARE(f.shown(ChannelTable::Tx, 3), kTx);
    QCOMPARE(f.shown(ChannelTable::Rx, 3), QStringLiteral("142000"));
    f.window->findChild<TableHistory *>()->stack().undo();
    QCOMPARE(f.shown(ChannelTable::Tx, 3), QStringLiteral("150000"));
    QVERIFY(f.scanShown(3));

    QVERIFY(f.check());
    f.trigger("N11");
    QVERIFY(f.ui.messages.isEmpty());
}

void RepeaterTest::pressingTwice()
{
    RepeaterFixture f;
    QVERIFY(f.prepare());
    f.press("3");
    f.press("3");
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.shown(ChannelTable::Tx, 3), kTx);
    QCOMPARE(f.shown(ChannelTable::Rx, 3), QStringLiteral("142000"));
    QCOMPARE(f.state.savedRepeaterText, kTx);
}

void RepeaterTest::write_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("transmit");
    QTest::addColumn<QString>("message"); // empty: marked
    QTest::addColumn<int>("row");
    QTest::newRow("receive 3") << "3" << false << "" << 3;
    QTest::newRow("03 finds 3") << "03" << false << "" << 3;
    QTest::newRow("257 finds 1") << "257" << true << "" << 1;
    QTest::newRow("empty field") << "" << false << kEmpty << 0;
    QTest::newRow("number not in the table") << "6" << false << kNotFound << 0;
    QTest::newRow("zero") << "0" << true << kNotFound << 0;
    QTest::newRow("256 is zero") << "256" << false << kNotFound << 0;
}

void RepeaterTest::write()
{
    QFETCH(QString, number);
    QFETCH(bool, transmit);
    QFETCH(QString, message);
    QFETCH(int, row);
    RepeaterFixture f;
    QVERIFY(f.prepare());
    const ChannelTable before = f.state.table;

    f.press(number, transmit);
    QVERIFY(!f.state.dataValid);
    QVERIFY(!f.panel()->isHidden());
    QVERIFY(f.ui.sounds.isEmpty());
    for (int r = 1; r <= 5; ++r) {
        const bool marked = r == row;
        const QString rx = before.cell(ChannelTable::Rx, r);
        const QString tx = before.cell(ChannelTable::Tx, r);
        QCOMPARE(f.shown(ChannelTable::Rx, r), marked && transmit ? kRx : rx);
        QCOMPARE(f.shown(ChannelTable::Tx, r), marked && !transmit ? kTx : tx);
        QCOMPARE(f.scanShown(r), !marked);
        if (marked)
            QCOMPARE(f.state.savedRepeaterText, transmit ? rx : tx);
    }
    if (message.isEmpty()) {
        QVERIFY(f.ui.messages.isEmpty());
    } else {
        QCOMPARE(f.ui.messages, QStringList{message});
        QCOMPARE(f.state.savedRepeaterText, QString());
    }
}

void RepeaterTest::pastedTextIsAConversionError()
{
    RepeaterFixture f;
    QVERIFY(f.prepare());
    f.inPanel<QLineEdit>("Edit4")->setText(QStringLiteral("3a")); // a paste passes no key filter
    QTest::mouseClick(f.inPanel<QPushButton>("BitBtn2"), Qt::LeftButton);
    QCOMPARE(f.ui.messages, QStringList{"'3a' is not a valid integer value"});
    QVERIFY(!f.state.dataValid);
    QCOMPARE(f.shown(ChannelTable::Tx, 3), QStringLiteral("150000"));
}

void RepeaterTest::checkCodesMarkedSide_data()
{
    QTest::addColumn<bool>("transmit");
    QTest::addColumn<int>("zeroFrom"); // the frequency word that becomes zero
    QTest::addColumn<int>("keptFrom");
    QTest::addColumn<int>("inverted");
    QTest::newRow("receive channel") << false << int(ChannelRecord::TxWord) << int(ChannelRecord::RxWord) << 0xEF;
    QTest::newRow("transmit channel") << true << int(ChannelRecord::RxWord) << int(ChannelRecord::TxWord) << 0xDF;
}

void RepeaterTest::checkCodesMarkedSide()
{
    QFETCH(bool, transmit);
    QFETCH(int, zeroFrom);
    QFETCH(int, keptFrom);
    QFETCH(int, inverted);
    RepeaterFixture f;
    QVERIFY(f.prepare());
    const RadioImage::Record unmarked = f.state.image.records[2];
    const RadioImage::Record neighbour = f.state.image.records[1];
    QCOMPARE(int(unmarked[ChannelRecord::Inverted]), 0xFF);

    f.press("3", transmit);
    QVERIFY(f.check());
    const RadioImage::Record &record = f.state.image.records[2];
    for (int b = zeroFrom; b < zeroFrom + 3; ++b)
        QCOMPARE(int(record[std::size_t(b)]), 0);
    for (int b = keptFrom; b < keptFrom + 3; ++b)
        QCOMPARE(record[std::size_t(b)], unmarked[std::size_t(b)]);
    QCOMPARE(int(record[ChannelRecord::Inverted]), inverted);
    // out of the scan, everything else of the flags as before
    QCOMPARE(int(record[ChannelRecord::Flags]), unmarked[ChannelRecord::Flags] & ~ChannelRecord::Flag::Scan);
    QVERIFY(f.state.image.records[1] == neighbour);
}

void RepeaterTest::recordPastTheTable()
{
    RepeaterFixture f;
    QVERIFY(f.prepare(5));
    // a smaller table after the check; the panel stays open and the channels
    // of the last passed check are still searched
    f.makeTemplate("2", "140000", "1000");
    QVERIFY(!f.panel()->isHidden());
    f.press("4");
    QCOMPARE(f.ui.messages, QStringList{kNotFound});
    QCOMPARE(f.window->tableModel()->rowCount(), 2);

    f.ui.clear();
    f.press("2");
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.shown(ChannelTable::Tx, 2), kTx);
}

void RepeaterTest::rowWithoutBoxesAndVisibility()
{
    RepeaterFixture f;
    QVERIFY(f.prepare());
    f.trigger("N3063"); // the station type: work area hidden, boxes detached
    QVERIFY(!f.panel()->isVisible());
    QVERIFY(!f.panel()->isHidden());
    QVERIFY(!f.state.table.hasBoxes(3));
    f.trigger("N2");
    QVERIFY(f.panel()->isVisible());

    f.press("3");
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.shown(ChannelTable::Tx, 3), kTx);
    QVERIFY(!f.state.table.hasBoxes(3));
    QVERIFY(!f.window->tableModel()->index(2, ChannelTable::Scan).data(Qt::CheckStateRole).isValid());
}

void RepeaterTest::closeOnlyHides()
{
    RepeaterFixture f;
    QVERIFY(f.prepare());
    auto *edit = f.inPanel<QLineEdit>("Edit4");
    QTest::keyClicks(edit, "3");
    QTest::mouseClick(f.inPanel<QPushButton>("BitBtn3"), Qt::LeftButton);
    QVERIFY(f.panel()->isHidden());
    QVERIFY(f.isShown("Panel1"));
    QVERIFY(f.state.dataValid);
    QCOMPARE(f.shown(ChannelTable::Tx, 3), QStringLiteral("150000"));
    // shown again as it was left
    f.trigger("N11");
    QVERIFY(!f.panel()->isHidden());
    QCOMPARE(edit->text(), QStringLiteral("3"));
    QVERIFY(f.ui.messages.isEmpty());
}

QTEST_MAIN(RepeaterTest)
#include "tst_repeaterpanel.moc"
