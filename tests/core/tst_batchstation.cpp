// How a station of a batch is told in its result line, which `fleet` prints
// as one line per port and the batch window as one cell and one journal row.
#include "batch/batchstation.h"
#include "link/seriallink.h"

#include <QTest>

using Kind = SequenceOutcome::Kind;

Q_DECLARE_METATYPE(Kind)

class TestBatchStation : public QObject
{
    Q_OBJECT

private slots:
    void resultText_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<SequenceStep>("step");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("text");

        QTest::newRow("written and verified")
            << Kind::Done << SequenceStep::Verify << QString() << "записано и проверено";
        QTest::newRow("silent in the backup read")
            << Kind::NoAnswer << SequenceStep::BackUp << QString() << "нет ответа (AK) при чтении";
        QTest::newRow("stopped in the middle of the backup reply")
            << Kind::NoAnswer << SequenceStep::BackUp << "станция перестала отвечать на байте 29 из 46"
            << "нет ответа (AK) при чтении: станция перестала отвечать на байте 29 из 46";
        QTest::newRow("stopped in the middle of the read-back")
            << Kind::NoAnswer << SequenceStep::Verify << "станция перестала отвечать на байте 100 из 1810"
            << "нет ответа (AK) при проверочном чтении: станция перестала отвечать на байте 100 из 1810";
        QTest::newRow("a port that fails") << Kind::Failure << SequenceStep::BackUp
                                           << SerialErrors::cannotOpen("/dev/ttyUSB0", "Device or resource busy")
                                           << "ошибка при чтении: Не удалось открыть последовательный порт "
                                              "/dev/ttyUSB0: Device or resource busy";
        // The window's message puts the command on a line of its own.
        QTest::newRow("an account outside dialout")
            << Kind::Failure << SequenceStep::BackUp << SerialErrors::noPermission("/dev/ttyUSB0", "tech")
            << "ошибка при чтении: Нет доступа к последовательному порту /dev/ttyUSB0: учётная запись tech не "
               "входит в группу dialout. Добавьте её в группу командой sudo adduser tech dialout и войдите в "
               "систему заново (выйдите из сеанса и снова войдите).";
    }
    void resultText()
    {
        QFETCH(Kind, kind);
        QFETCH(SequenceStep, step);
        QFETCH(QString, failure);
        QFETCH(QString, text);
        SequenceOutcome outcome;
        outcome.kind = kind;
        outcome.step = step;
        outcome.failure = failure;
        QCOMPARE(BatchStation::resultText(outcome), text);
    }
};

QTEST_GUILESS_MAIN(TestBatchStation)
#include "tst_batchstation.moc"
