// The transfer dialog when the line fails under a transfer: the station
// goes away in the middle, or the port is lost right after it was opened.
// The dialog must come out of it usable: its own status, all three buttons
// enabled, one message, and the transfer no longer counted as running.
// Also what the user does while a transfer holds the line: none of it counts.
// And the batch window over several stations, some of which fail.

#include "check/datacheck.h"
#include "image/fieldcoding.h"
#include "core/support/linkfixtures.h"
#include "link/linktexts.h"
#include "mainwindowfixture.h"
#include "simulatedstation.h"
#include "stationline.h"
#include "batch/batchdialog.h"
#include "transfer/tform1.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>

class TransferFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void stationGoneMidTransfer_data();
    void stationGoneMidTransfer();
    void portLostRightAfterOpening_data();
    void portLostRightAfterOpening();
    void readCutShortIsNotCheckedData_data();
    void readCutShortIsNotCheckedData();
    void inputDuringTransferDropped_data();
    void inputDuringTransferDropped();
    void batchWindow_data();
    void batchWindow();

private:
    struct Rig
    {
        MainWindowFixture f;
        QTemporaryDir dir;
        LinkFixtures::StationOnCom1 com1;
        std::unique_ptr<TForm1> dialog;

        // A station that holds three channels: its reply is 28 + 3·18 bytes.
        static SimulatedStation threeChannels()
        {
            StationMemory memory;
            memory.settings[2] = 3;
            memory.records = QByteArray(3 * StationMemory::RecordSize, char(1));
            return SimulatedStation(memory);
        }

        explicit Rig(const StationLineOptions &lineOptions = {}) : com1(threeChannels(), lineOptions)
        {
            dialog = std::make_unique<TForm1>(f.state, f.ui, f.ports);
            dialog->setOptionsFile(com1.options.path());
            dialog->setReadObserver(f.window.get());
            f.makeTemplate(QStringLiteral("3"), QStringLiteral("140000"), QStringLiteral("1000"));
            QVERIFY(f.state.check(dir.filePath(QStringLiteral("MyTemp.ini"))).passed());
            f.state.portNumber = 1;
            f.ui.clear();
        }
        QPushButton *button(const char *name) const { return dialog->findChild<QPushButton *>(name); }
        QString status() const { return dialog->findChild<QLabel *>("StaticText1")->text(); }
        bool buttonsEnabled() const
        {
            return button("BitBtn1")->isEnabled() && button("BitBtn2")->isEnabled() && button("BitBtn3")->isEnabled();
        }
    };
};

void TransferFaultsTest::stationGoneMidTransfer_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<int>("messages");
    // The write goes on to its next send and stops with the closed port's
    // error; the read ends as after a time-out, without a message.
    QTest::newRow("write") << QByteArray("BitBtn2") << 1;
    QTest::newRow("read") << QByteArray("BitBtn3") << 0;
}

void TransferFaultsTest::stationGoneMidTransfer()
{
    QFETCH(QByteArray, button);
    QFETCH(int, messages);
    StationLineOptions options;
    if (button == "BitBtn2")
        options.hangUpAfter = 20;
    else
        options.hangUpAfterSent = 40;
    Rig rig(options);

    rig.button(button.constData())->click();

    QCOMPARE(rig.status(), LinkTexts::noAnswer());
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.f.ui.messages.size(), messages);
    QVERIFY(!rig.f.state.transferRunning);
}

void TransferFaultsTest::portLostRightAfterOpening_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("write") << QByteArray("BitBtn2");
    QTest::newRow("read") << QByteArray("BitBtn3");
}

void TransferFaultsTest::portLostRightAfterOpening()
{
    QFETCH(QByteArray, button);
    Rig rig;
    const QString device = rig.com1.line->devicePath();
    rig.dialog->setLinkFactory(LinkFixtures::hangUpAfterOpenFactory(*rig.com1.line));

    rig.button(button.constData())->click();

    QCOMPARE(rig.status(), LinkTexts::noAnswer());
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.f.ui.messages.size(), 1);
    QVERIFY2(rig.f.ui.messages.first().startsWith(SerialErrors::cannotSend(device, QString())),
             qPrintable(rig.f.ui.messages.first()));
    QVERIFY(!rig.f.state.transferRunning);
    QVERIFY(rig.f.state.dataValid); // the request never went out: the image is untouched
}

void TransferFaultsTest::readCutShortIsNotCheckedData_data()
{
    QTest::addColumn<int>("sentBeforeGone"); // -1: the whole reply
    QTest::addColumn<bool>("stillChecked");
    QTest::newRow("gone in the header") << 5 << false;
    QTest::newRow("gone in the records") << 40 << false;
    QTest::newRow("complete") << -1 << true;
}

void TransferFaultsTest::readCutShortIsNotCheckedData()
{
    QFETCH(int, sentBeforeGone);
    QFETCH(bool, stillChecked);
    StationLineOptions options;
    options.hangUpAfterSent = sentBeforeGone;
    options.throughLink = true; // a write that opened the port after all would reach no other line
    Rig rig(options);
    rig.button("BitBtn3")->click();
    QCOMPARE(rig.status(), stillChecked ? LinkTexts::idle() : LinkTexts::noAnswer());
    QCOMPARE(rig.f.state.dataValid, stillChecked);
    if (stillChecked)
        return;
    // The half-read image is not sent.
    const QByteArray before = rig.com1.line->received();
    rig.button("BitBtn2")->click();
    QCOMPARE(rig.f.ui.messages, QStringList{LinkTexts::dataNotChecked()});
    QCOMPARE(rig.com1.line->received(), before);
}

namespace {
// The station's line, with something the user does while the transfer's
// last bytes go through: queued, as input is while the thread is busy.
class InputAtTheEnd final : public LinkFixtures::ForwardingLink
{
public:
    explicit InputAtTheEnd(std::function<void()> input) : m_input(std::move(input)) {}
    void close() override
    {
        if (m_link->isOpen() && m_input)
            std::exchange(m_input, nullptr)();
        m_link->close();
    }

private:
    std::function<void()> m_input;
};

void postClick(QWidget *button)
{
    const QPointF at = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(at);
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

void postSpace(QWidget *button)
{
    QCoreApplication::postEvent(button, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
    QCoreApplication::postEvent(button, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " "));
}
} // namespace

void TransferFaultsTest::inputDuringTransferDropped_data()
{
    QTest::addColumn<QByteArray>("transfer");
    QTest::addColumn<QByteArrayList>("clicked");
    QTest::addColumn<bool>("space"); // Space on the buttons instead of clicks
    const QByteArray write = "BitBtn2";
    QTest::newRow("write twice during a write") << write << QByteArrayList{"BitBtn2", "BitBtn2"} << false;
    QTest::newRow("read during a write") << write << QByteArrayList{"BitBtn3"} << false;
    QTest::newRow("exit during a write") << write << QByteArrayList{"BitBtn1"} << false;
    QTest::newRow("Space on write during a write") << write << QByteArrayList{"BitBtn2"} << true;
    QTest::newRow("write during a read") << QByteArray("BitBtn3") << QByteArrayList{"BitBtn2"} << false;
    QTest::newRow("Space on exit during a read") << QByteArray("BitBtn3") << QByteArrayList{"BitBtn1"} << true;
}

void TransferFaultsTest::inputDuringTransferDropped()
{
    QFETCH(QByteArray, transfer);
    QFETCH(QByteArrayList, clicked);
    QFETCH(bool, space);
    Rig rig;
    rig.dialog->show();
    rig.dialog->setLinkFactory([&rig, clicked, space] {
        return std::make_unique<InputAtTheEnd>([&rig, clicked, space] {
            for (const QByteArray &name : clicked)
                space ? postSpace(rig.button(name.constData())) : postClick(rig.button(name.constData()));
        });
    });
    rig.button(transfer.constData())->click();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    const int expected = transfer == "BitBtn2" ? 26 + 18 * 3 : 1; // one write, or the request
    QCOMPARE(rig.com1.line->received().size(), expected);
    QCOMPARE(rig.status(), LinkTexts::idle());
    QVERIFY(rig.dialog->isVisible());
    QVERIFY(rig.buttonsEnabled());
    QVERIFY(rig.f.ui.messages.isEmpty());
}

void TransferFaultsTest::batchWindow_data()
{
    // Stations by letter, on COM3, COM4 ...: A answers, S is silent, D alters
    // a tone in its replies.
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QString>("idFrom");
    QTest::addColumn<bool>("sameDevice"); // COM4 maps to COM3's device
    QTest::addColumn<bool>("stopAtOnce"); // "Остановить" right after "Начать"
    QTest::addColumn<QString>("refusal"); // what the message must hold; empty: none
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QString>("summary");
    const QString written = "записано и проверено";
    QTest::newRow("one silent, one differs")
        << "ASD"
        << "0042" << false << false << ""
        << QStringList{written, "нет ответа (AK) при чтении", "станция хранит не то, что записано: Тон"}
        << "Записано и проверено: 1 из 3";
    QTest::newRow("stopped before anything is written")
        << "AA"
        << "" << false << true << "" << QStringList{"остановлено до записи", "остановлено до записи"}
        << "Записано и проверено: 0 из 2";
    QTest::newRow("one device by two names") << "AA"
                                             << "" << true << false << "одно и то же устройство" << QStringList{} << "";
    QTest::newRow("Ids past 9999") << "AAA"
                                   << "9998" << false << false << "больше 9999" << QStringList{} << "";
}

void TransferFaultsTest::batchWindow()
{
    QFETCH(QString, kinds);
    QFETCH(QString, idFrom);
    QFETCH(bool, sameDevice);
    QFETCH(bool, stopAtOnce);
    QFETCH(QString, refusal);
    QFETCH(QStringList, results);
    QFETCH(QString, summary);
    Rig rig;
    std::vector<std::unique_ptr<SimulatedStation>> stations;
    std::vector<std::unique_ptr<StationLine>> lines;
    QMap<int, QString> ports;
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        StationMemory memory;
        memory.serial = {0x11, 0x22, std::uint8_t(0x30 + i)};
        stations.push_back(std::make_unique<SimulatedStation>(memory));
        StationLineOptions options;
        options.silentAfter = kinds.at(i) == u'S' ? 0 : -1;
        const bool alters = kinds.at(i) == u'D';
        SimulatedStation *station = stations.back().get();
        lines.push_back(std::make_unique<StationLine>(
            [station, alters](std::uint8_t b) {
                QByteArray answer = station->onByte(b, 0);
                if (alters && answer.size() > 12) // the third tone of a reply
                    answer[12] = char(answer.at(12) + 1);
                return answer;
            },
            options));
        lines.back()->start();
        ports.insert(3 + int(i), lines.back()->devicePath());
    }
    if (sameDevice)
        ports.insert(4, ports.value(3));
    rig.com1.options.writePorts(ports);

    BatchDialog batch(rig.f.state, rig.f.ui);
    batch.setOptionsFile(rig.com1.options.path());
    batch.setArchiveFolder(rig.dir.filePath("archive"));
    batch.setLinkTimings(LinkFixtures::testTimings());
    batch.showForBatch();
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        QVERIFY(batch.portNames().contains(QString("COM%1").arg(3 + i)));
        batch.setPortChecked(QString("COM%1").arg(3 + i), true);
    }
    batch.findChild<QLineEdit *>("IdFrom")->setText(idFrom);
    batch.findChild<QLineEdit *>("ReportFolder")->setText(rig.dir.filePath("reports"));
    QSignalSpy ended(&batch, &BatchDialog::batchFinished);
    batch.findChild<QPushButton *>("Start")->click();
    if (!refusal.isEmpty()) {
        QCOMPARE(rig.f.ui.messages.size(), 1);
        QVERIFY2(rig.f.ui.messages.first().contains(refusal), qPrintable(rig.f.ui.messages.first()));
        QVERIFY(!batch.isRunning());
        for (const auto &line : lines)
            QCOMPARE(line->received(), QByteArray());
        return;
    }
    // While the batch runs, neither the frame nor the main window closes it.
    QVERIFY(batch.isRunning());
    QVERIFY(!batch.close());
    QVERIFY(batch.isVisible());
    QVERIFY(rig.f.state.transferRunning);
    if (stopAtOnce)
        batch.findChild<QPushButton *>("Stop")->click();
    QVERIFY(ended.wait(20000));

    const QTableWidget *rows = batch.findChild<QTableWidget *>("Rows");
    QCOMPARE(rows->rowCount(), kinds.size());
    QStringList journal;
    for (int row = 0; row < rows->rowCount(); ++row) {
        const QString serial = kinds.at(row) == u'S' ? "-" : QString("1122%1").arg(0x30 + row, 2, 16);
        QCOMPARE(rows->item(row, 0)->text(), QString("COM%1").arg(3 + row));
        // A stop at once may find a station's backup read begun, or not.
        if (!stopAtOnce || rows->item(row, 1)->text() != "-")
            QCOMPARE(rows->item(row, 1)->text(), serial);
        QCOMPARE(rows->item(row, 2)->text(), idFrom.isEmpty()
                                                 ? FieldCoding::idText(rig.f.state.image.idCode)
                                                 : QString::number(idFrom.toInt() + row).rightJustified(4, '0'));
        QVERIFY2(rows->item(row, 4)->text().startsWith(results.at(row)), qPrintable(rows->item(row, 4)->text()));
        journal.append(QStringList{rows->item(row, 0)->text(), rows->item(row, 1)->text(), rows->item(row, 2)->text(),
                                   rows->item(row, 4)->text()}
                           .join(';'));
    }
    QCOMPARE(batch.findChild<QLabel *>("Summary")->text(), summary);
    QVERIFY(!rig.f.state.transferRunning);

    // The journal opens in a spreadsheet program: UTF-8 with its mark, ";".
    rig.f.ui.nextSaveName = rig.dir.filePath("журнал.csv");
    batch.findChild<QPushButton *>("SaveLog")->click();
    QFile file(rig.f.ui.nextSaveName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("\xEF\xBB\xBF"));
    const QStringList saved = QString::fromUtf8(content.mid(3)).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(saved.size(), kinds.size() + 1);
    for (qsizetype row = 0; row < kinds.size(); ++row)
        QVERIFY2(saved.at(row + 1).startsWith(journal.at(row) + QChar(u';')), qPrintable(saved.at(row + 1)));
}

QTEST_MAIN(TransferFaultsTest)
#include "tst_transferfaults.moc"
