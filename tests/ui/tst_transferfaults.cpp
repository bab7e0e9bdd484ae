// The transfer dialog when the line fails under a transfer: the station
// goes away in the middle, or the port is lost right after it was opened.
// The dialog must come out of it usable: its own status, all three buttons
// enabled, one message, and the transfer no longer counted as running; the
// main window keeps what the reply brought. Also what the user does while a
// transfer holds the line: none of it counts. And the batch window over
// several stations, some of which fail, and the program ending during one.
// The stations are on lines in memory, whose time the lines count.

#include "batch/batchdialog.h"
#include "image/fieldcoding.h"
#include "image/stationreply.h"
#include "link/linktexts.h"
#include "simulatedstation.h"
#include "core/support/replyfixtures.h"
#include "transferfixture.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <condition_variable>
#include <mutex>

using LinkFixtures::TestLine;

class TransferFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void stationGoneMidTransfer_data();
    void stationGoneMidTransfer();
    void portLostRightAfterOpening_data();
    void portLostRightAfterOpening();
    void readCutShort_data();
    void readCutShort();
    void inputDuringTransferDropped_data();
    void inputDuringTransferDropped();
    void batchWindow_data();
    void batchWindow();
    void programEndsDuringBatch();

private:
    // The template of three channels, checked, and a station on COM1.
    struct Rig : TransferRig
    {
        SimulatedStation station;
        std::unique_ptr<TestLine> line;

        // `reply`: what the station answers a read with, its memory's by default.
        explicit Rig(const StationLineOptions &lineOptions = {}, std::optional<QByteArray> reply = {})
        {
            line = std::make_unique<TestLine>(
                [this, reply](std::uint8_t b) {
                    return b == SimulatedStation::ReadCommand && reply ? *reply : station.onByte(b, 0);
                },
                lineOptions);
            check(3);
            useCom1(*line);
            f.ui.clear();
        }
    };
};

void TransferFaultsTest::stationGoneMidTransfer_data()
{
    QTest::addColumn<QByteArray>("button");
    // Bytes before the station goes; 0: silent from the start; below 0: a read's
    // reply that stops after as many bytes.
    QTest::addColumn<int>("goneAfter");
    QTest::addColumn<int>("messages");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("said"); // beside the status: the start of it
    // The port fails under either: its error is told.
    QTest::newRow("write") << QByteArray("BitBtn2") << 20 << 1 << LinkTexts::noAnswer() << LinkTexts::noAnswerAdvice();
    QTest::newRow("read") << QByteArray("BitBtn3") << 40 << 1 << LinkTexts::noAnswer() << LinkTexts::noAnswerAdvice();
    // A reply that stops is said where, as the command line says it.
    QTest::newRow("read, the reply stops in block 1")
        << QByteArray("BitBtn3") << -7 << 0 << LinkTexts::noAnswer() << "Станция перестала отвечать на байте 8 из ";
    // A write that never started ends quietly, yet does not look like one that finished.
    QTest::newRow("write, start byte unanswered")
        << QByteArray("BitBtn2") << 0 << 0 << LinkTexts::idle()
        << "Станция не ответила на начальный байт записи: в станцию ничего не записано.";
}

void TransferFaultsTest::stationGoneMidTransfer()
{
    QFETCH(QByteArray, button);
    QFETCH(int, goneAfter);
    QFETCH(int, messages);
    QFETCH(QString, status);
    QFETCH(QString, said);
    StationLineOptions options;
    if (goneAfter == 0)
        options.silentAfter = 0;
    else if (button == "BitBtn2")
        options.hangUpAfter = goneAfter;
    else if (goneAfter > 0)
        options.hangUpAfterSent = goneAfter;
    const QByteArray reply = ReplyFixtures::Reply::withRecords(3).bytes();
    Rig rig(options, goneAfter < 0 ? reply.left(-goneAfter) : reply);

    QVERIFY(rig.run(button.constData()));

    QCOMPARE(rig.status(), status);
    const auto *label = rig.dialog->findChild<QLabel *>("AdviceText");
    const QString beside = label->text();
    QVERIFY2(beside.startsWith(said), qPrintable(beside));
    QVERIFY(label->height() >= label->heightForWidth(label->width()));                           // all of it is seen
    QVERIFY2(beside.endsWith(LinkTexts::noAnswerAdvice().section(". ", 1)), qPrintable(beside)); // what to check
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.f.ui.messages.size(), messages);
    QVERIFY(!rig.f.ports.transferRunning());
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
    const QString device = rig.line->devicePath();
    rig.dialog->setLinkFactory(LinkFixtures::hangUpAfterOpenFactory(*rig.line));

    QVERIFY(rig.run(button.constData()));

    QCOMPARE(rig.status(), LinkTexts::noAnswer());
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.f.ui.messages.size(), 1);
    QVERIFY2(rig.f.ui.messages.first().startsWith(SerialErrors::cannotReceive(device, QString())),
             qPrintable(rig.f.ui.messages.first()));
    QVERIFY(!rig.f.ports.transferRunning());
    QVERIFY(rig.f.state.dataValid); // the request never went out: the image is untouched
}

void TransferFaultsTest::readCutShort_data()
{
    // The station's reply (two channels on 30-60 MHz, module 3) stops after
    // `sent` bytes, it falls silent or goes away: the main window keeps what
    // came in whole blocks, shows the station type once the fixed part is
    // in, and the data are no longer checked; a whole reply leaves them
    // checked. A half-read image is never written.
    QTest::addColumn<int>("sent"); // -1: the whole reply
    QTest::addColumn<bool>("goesAway");
    QTest::addColumn<int>("lines"); // of the settings text
    QTest::addColumn<int>("rows");  // of the table
    QTest::addColumn<QString>("caption");
    const QString vhf = "Ветрал 4М-13", hf = "Ветрал 4М-11";
    QTest::newRow("no answer") << 0 << false << 1 << 3 << vhf;
    QTest::newRow("inside block 1") << 7 << false << 1 << 3 << vhf;
    QTest::newRow("gone after the third tone") << 13 << true << 6 << 3 << vhf;
    QTest::newRow("inside block 3") << 22 << false << 13 << 3 << vhf;
    QTest::newRow("inside block 4") << 27 << false << 13 << 3 << vhf;
    QTest::newRow("before the first record") << 28 << false << 26 << 2 << hf;
    QTest::newRow("gone inside the first record") << 37 << true << 26 << 2 << hf;
    QTest::newRow("after the first record") << 46 << false << 26 << 2 << hf;
    QTest::newRow("complete") << -1 << false << 27 << 2 << hf;
}

void TransferFaultsTest::readCutShort()
{
    QFETCH(int, sent);
    QFETCH(bool, goesAway);
    QFETCH(int, lines);
    QFETCH(int, rows);
    QFETCH(QString, caption);
    const QByteArray reply = ReplyFixtures::Reply{.module = 3, .band = 1}.bytes();
    StationLineOptions options;
    if (goesAway)
        options.hangUpAfterSent = sent;
    Rig rig(options, goesAway || sent < 0 ? reply : reply.left(sent));
    const QString oldNumber = rig.f.state.table.cell(ChannelTable::Number, 1);

    QVERIFY(rig.run("BitBtn3"));

    const bool complete = sent < 0;
    QCOMPARE(rig.status(), complete ? LinkTexts::idle() : LinkTexts::noAnswer());
    QCOMPARE(rig.f.state.dataValid, complete);
    QCOMPARE(rig.f.widget<QPlainTextEdit>("Memo1")->toPlainText().split('\n').size(), lines);
    QCOMPARE(rig.f.window->tableModel()->rowCount(), rows);
    QCOMPARE(rig.f.window->windowTitle(), caption);
    QCOMPARE(rig.f.state.moduleCode, rows == 2 ? 3 : 0);
    // No record is decoded from a reply cut short.
    QCOMPARE(rig.f.state.table.cell(ChannelTable::Number, 1), complete ? QString("1") : oldNumber);
    QCOMPARE(rig.f.state.chosenModule, complete ? 3 : 0);
    if (complete)
        return;
    // The half-read image is not sent.
    rig.f.ui.clear(); // the failed port's message
    const QByteArray before = rig.line->received();
    rig.button("BitBtn2")->click();
    QCOMPARE(rig.f.ui.messages, QStringList{LinkTexts::dataNotChecked()});
    QCOMPARE(rig.line->received(), before);
}

namespace {
// Stations by letter on COM3, COM4 ...: A answers, S is silent, D alters a
// tone in its replies. Each is reached by the name of a file of its own, as
// the batch window lists only ports whose device is there.
struct BatchStations
{
    std::vector<std::unique_ptr<SimulatedStation>> stations;
    std::vector<std::unique_ptr<TestLine>> lines;
    QMap<int, QString> ports;
    TransferRig &rig;

    // Holds every station's answer to a read request while shut, so that
    // the test can act before any station gets past its backup read, on a
    // line whose time costs nothing.
    class Gate
    {
    public:
        void shut() { set(false); }
        void open() { set(true); }
        void pass()
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_open; });
        }

    private:
        void set(bool open)
        {
            {
                const std::lock_guard lock(m_mutex);
                m_open = open;
            }
            m_changed.notify_all();
        }
        std::mutex m_mutex;
        std::condition_variable m_changed;
        bool m_open = true;
    };
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();

    BatchStations(TransferRig &on, const QString &kinds) : rig(on)
    {
        for (qsizetype i = 0; i < kinds.size(); ++i) {
            StationMemory memory;
            memory.serial = {0x11, 0x22, std::uint8_t(0x30 + i)};
            stations.push_back(std::make_unique<SimulatedStation>(memory));
            StationLineOptions options;
            options.silentAfter = kinds.at(i) == u'S' ? 0 : -1;
            const bool alters = kinds.at(i) == u'D';
            SimulatedStation *station = stations.back().get();
            lines.push_back(std::make_unique<TestLine>(
                [station, alters, gate = gate](std::uint8_t b) {
                    if (b == StationReply::RequestByte)
                        gate->pass();
                    QByteArray answer = station->onByte(b, 0);
                    if (alters && answer.size() > 12) // the third tone of a reply
                        answer[12] = char(answer.at(12) + 1);
                    return answer;
                },
                options));
            const QString device = rig.dir.filePath(QString("ttyStation%1").arg(i));
            QFile file(device);
            QVERIFY(file.open(QIODevice::WriteOnly));
            TestLine::link(device, lines.back().get());
            ports.insert(3 + int(i), device);
        }
    }
    void prepare(BatchDialog &batch)
    {
        batch.setOptionsFile(rig.options.path());
        batch.setArchiveFolder(rig.dir.filePath("archive"));
        batch.setLinkTimings(LinkFixtures::testTimings());
        batch.setLinkFactory(LinkFixtures::testLinkFactory());
        batch.showForBatch();
        for (int n = 3; n < 3 + int(lines.size()); ++n) {
            QVERIFY(batch.portNames().contains(QString("COM%1").arg(n)));
            batch.setPortChecked(QString("COM%1").arg(n), true);
        }
    }
};

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
    QList<QWidget *> targets;
    for (const QByteArray &name : clicked)
        targets.append(rig.button(name.constData()));
    // The line is closed on the transfer's thread: the input is posted from
    // there, before the transfer's end reaches the window.
    rig.dialog->setLinkFactory([targets, space] {
        return std::make_unique<InputAtTheEnd>([targets, space] {
            for (QWidget *target : targets)
                space ? postSpace(target) : postClick(target);
        });
    });

    QVERIFY(rig.run(transfer.constData()));

    const int expected = transfer == "BitBtn2" ? 26 + 18 * 3 : 1; // one write, or the request
    QCOMPARE(rig.line->received().size(), expected);
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
    // Below the test's folder: where reports go ("" none) and where "Сохранить
    // журнал…" starts; channel files were saved in "files" last.
    QTest::addColumn<QString>("reportFolder");
    QTest::addColumn<QString>("journalFolder");
    const QString written = "записано и проверено";
    QTest::newRow("one silent, one differs")
        << "ASD"
        << "0042" << false << false << ""
        << QStringList{written, "нет ответа (AK) при чтении", "станция хранит не то, что записано: Тон"}
        << "Записано и проверено: 1 из 3"
        << "reports"
        << "reports";
    QTest::newRow("stopped before anything is written")
        << "AA"
        << "" << false << true << "" << QStringList{"остановлено до записи", "остановлено до записи"}
        << "Записано и проверено: 0 из 2"
        << ""
        << "files";
    QTest::newRow("one device by two names") << "AA"
                                             << "" << true << false << "одно и то же устройство" << QStringList{} << ""
                                             << "reports"
                                             << "";
    QTest::newRow("Ids past 9999") << "AAA"
                                   << "9998" << false << false << "больше 9999" << QStringList{} << ""
                                   << "reports"
                                   << "";
    // Twenty lines of archive copies and reports, and a table that stays in view.
    QTest::newRow("ten stations") << "AAAAAAAAAA"
                                  << "0101" << false << false << "" << QStringList(10, written)
                                  << "Записано и проверено: 10 из 10"
                                  << "reports"
                                  << "reports";
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
    QFETCH(QString, reportFolder);
    QFETCH(QString, journalFolder);
    Rig rig;
    QVERIFY(QDir(rig.dir.path()).mkdir("files"));
    rig.f.ui.nextSaveName = rig.dir.filePath("files/a.ini");
    rig.f.trigger("N3");
    BatchStations stations(rig, kinds);
    if (sameDevice)
        stations.ports.insert(4, stations.ports.value(3));
    rig.options.writePorts(stations.ports);

    BatchDialog batch(rig.f.state, rig.f.ui, rig.f.ports);
    // Whatever ends the test, no station is left waiting at the gate.
    const auto reopen = qScopeGuard([&stations] { stations.gate->open(); });
    stations.prepare(batch);
    batch.findChild<QLineEdit *>("IdFrom")->setText(idFrom);
    if (stopAtOnce)
        stations.gate->shut();
    if (!reportFolder.isEmpty())
        batch.findChild<QLineEdit *>("ReportFolder")->setText(rig.dir.filePath(reportFolder));
    QSignalSpy ended(&batch, &BatchDialog::batchFinished);
    batch.findChild<QPushButton *>("Start")->click();
    if (!refusal.isEmpty()) {
        QCOMPARE(rig.f.ui.messages.size(), 1);
        QVERIFY2(rig.f.ui.messages.first().contains(refusal), qPrintable(rig.f.ui.messages.first()));
        QVERIFY(!batch.isRunning());
        for (const auto &line : stations.lines)
            QCOMPARE(line->received(), QByteArray());
        return;
    }
    // While the batch runs, neither the frame nor the main window closes it.
    QVERIFY(batch.isRunning());
    QVERIFY(!batch.close());
    QVERIFY(batch.isVisible());
    QVERIFY(rig.f.ports.transferRunning());
    if (stopAtOnce) {
        batch.findChild<QPushButton *>("Stop")->click();
        stations.gate->open();
    }
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
        // The whole result, also where the column is too narrow for it.
        QCOMPARE(rows->item(row, 4)->toolTip(), rows->item(row, 4)->text());
        journal.append(QStringList{rows->item(row, 0)->text(), rows->item(row, 1)->text(), rows->item(row, 2)->text(),
                                   rows->item(row, 4)->text()}
                           .join(';'));
    }
    QCOMPARE(batch.findChild<QLabel *>("Summary")->text(), summary);
    QVERIFY(!rig.f.ports.transferRunning());
    // The table stays the main part of the window: every station's row is seen.
    const int last = rows->rowCount() - 1;
    QVERIFY2(rows->rowViewportPosition(last) + rows->rowHeight(last) <= rows->viewport()->height(),
             qPrintable(QString("%1 rows, %2 px").arg(rows->rowCount()).arg(rows->viewport()->height())));

    // The journal opens in a spreadsheet program: UTF-8 with its mark, ";".
    rig.f.ui.nextSaveName = rig.dir.filePath("журнал.csv");
    batch.findChild<QPushButton *>("SaveLog")->click();
    QCOMPARE(rig.f.ui.dialogs.last().folder, rig.dir.filePath(journalFolder));
    QFile file(rig.f.ui.nextSaveName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("\xEF\xBB\xBF"));
    const QStringList saved = QString::fromUtf8(content.mid(3)).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(saved.size(), kinds.size() + 1);
    for (qsizetype row = 0; row < kinds.size(); ++row)
        QVERIFY2(saved.at(row + 1).startsWith(journal.at(row) + QChar(u';')), qPrintable(saved.at(row + 1)));
    // The next journal goes where this one went.
    batch.findChild<QPushButton *>("SaveLog")->click();
    QCOMPARE(rig.f.ui.dialogs.last().folder, rig.dir.path());
}

void TransferFaultsTest::programEndsDuringBatch()
{
    // The program ends while four stations are being programmed (the window
    // is destroyed with the batch under way): each stops as "Остановить"
    // stops it, and the window's parts go only once every station's thread
    // has ended. A write begun runs to its end, so no station is left half
    // written; no station reads back after the stop.
    Rig rig;
    rig.check(99);
    BatchStations stations(rig, "AAAA");
    rig.options.writePorts(stations.ports);
    auto batch = std::make_unique<BatchDialog>(rig.f.state, rig.f.ui, rig.f.ports);
    stations.prepare(*batch);
    batch->findChild<QLineEdit *>("ReportFolder")->setText(rig.dir.filePath("reports"));
    batch->findChild<QPushButton *>("Start")->click();
    QVERIFY(batch->isRunning());

    batch.reset();

    const QByteArray write = QByteArray(1, char(20)) + rig.f.state.checkedStation().writeOrder();
    for (const auto &line : stations.lines) {
        const QByteArray received = line->received();
        const QList<QByteArray> ends{QByteArray(1, char(30)), QByteArray(1, char(30)) + write,
                                     QByteArray(1, char(30)) + write + QByteArray(1, char(30))};
        QVERIFY2(received.isEmpty() || ends.contains(received), qPrintable(QString::number(received.size())));
    }
    QVERIFY(!rig.f.ports.transferRunning());
}

QTEST_MAIN(TransferFaultsTest)
#include "tst_transferfaults.moc"
