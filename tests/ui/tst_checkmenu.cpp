#include "check/datacheck.h"
#include "mainwindowfixture.h"
#include "files/windows1251.h"
#include "main/channeltablemodel.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTableView>

// "Контроль" from the menu: the message, the flag, MyTemp.ini on disk.
class CheckMenuTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void passesAfterTemplate();
    void failedCheckLeavesDataUnchecked_data();
    void failedCheckLeavesDataUnchecked();
    void editAfterPassedCheckClearsFlag();
};

void CheckMenuTest::passesAfterTemplate()
{
    MainWindowFixture f;
    f.makeTemplate("10", "140000", "1000");
    f.trigger("N19");
    QCOMPARE(f.ui.messages, QStringList{DataCheck::successText()});
    QCOMPARE(f.ui.messages.first(), QStringLiteral("Все данные введены верно."));
    QVERIFY(f.state.dataValid);
    QCOMPARE(f.state.image.channelCount(), 10);
    QFile temp(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/MyTemp.ini");
    QVERIFY(temp.open(QIODevice::ReadOnly));
    const QByteArray bytes = temp.readAll();
    QVERIFY(bytes.startsWith(Windows1251::encode("[Общие установки]\r\nId_номер=0001\r\n")));
}

void CheckMenuTest::failedCheckLeavesDataUnchecked_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // a part of the one message shown
    QTest::newRow("refused") << "empty settings"
                             << "Уровень яркости изм. 1-5";
    QTest::newRow("conversion error through the guard") << "cell"
                                                        << "'14оо'";
    // The flag of an earlier passed check is cleared before the file is written.
    QTest::newRow("MyTemp.ini cannot be written") << "MyTemp.ini"
                                                  << "MyTemp.ini";
}

void CheckMenuTest::failedCheckLeavesDataUnchecked()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    MainWindowFixture f;
    f.makeTemplate("3", "140000", "1000");
    const QString temp = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/MyTemp.ini";
    QFile::remove(temp);
    if (fault == "empty settings")
        f.widget<QPlainTextEdit>("Memo1")->setPlainText("");
    else if (fault == "cell")
        f.window->tableModel()->setData(f.window->tableModel()->index(1, 1), "14оо", Qt::EditRole);
    else
        QVERIFY(QDir().mkpath(temp));
    f.state.dataValid = true;
    f.trigger("N19");
    QDir(temp).removeRecursively();
    QCOMPARE(f.ui.messages.size(), 1);
    QVERIFY2(f.ui.messages.first().contains(message), qPrintable(f.ui.messages.first()));
    QVERIFY(!f.state.dataValid);
}

void CheckMenuTest::editAfterPassedCheckClearsFlag()
{
    // What the station would get is what "Контроль" saw: a later edit of the
    // table or of the settings text asks for "Контроль" again.
    MainWindowFixture f;
    f.makeTemplate("3", "140000", "1000");
    f.trigger("N19");
    QVERIFY(f.state.dataValid);
    f.window->tableModel()->setData(f.window->tableModel()->index(0, 1), "150000", Qt::EditRole);
    QVERIFY(!f.state.dataValid);
    f.trigger("N19");
    QVERIFY(f.state.dataValid);
    f.widget<QPlainTextEdit>("Memo1")->appendPlainText("x=1");
    QVERIFY(!f.state.dataValid);
    f.ui.clear();
    f.trigger("N11");
    QCOMPARE(f.ui.messages,
             QStringList{"Прежде чем производить настройку рентраслятора проверьте введеные данные !!!"});
    QVERIFY(!f.isShown("Panel3"));
}

QTEST_MAIN(CheckMenuTest)
#include "tst_checkmenu.moc"
