// How the end of a station's sequence is told and what exit status it gives:
// as a sentence (`write`, `read`, `diff`) and as a batch's line (`fleet`, the
// batch window's cell and journal row).
#include "common/exitcodes.h"
#include "link/seriallink.h"
#include "transfer/outcomewords.h"

#include <QTest>

using Kind = SequenceOutcome::Kind;
using Voice = OutcomeWords::Voice;

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Voice)

class TestOutcomeWords : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<SequenceStep>("step");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("flags"); // "busy": the line never fell quiet; "cut": a write broken off
        QTest::addColumn<Voice>("voice");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("exitCode");

        const Voice line = Voice::BatchLine, sentence = Voice::Sentence;
        const QString busy = ": линия занята - по ней 3 с без перерыва шли данные, в станцию ничего не отправлено";
        QTest::newRow("written and verified")
            << Kind::Done << SequenceStep::Verify << QString() << "" << line << "записано и проверено" << 0;
        QTest::newRow("written and verified, as a sentence")
            << Kind::Done << SequenceStep::Verify << QString() << "" << sentence
            << "Данные записаны в станцию, прочитаны и совпадают с записанными." << 0;
        QTest::newRow("silent in the backup read") << Kind::NoAnswer << SequenceStep::BackUp << QString() << "" << line
                                                   << "нет ответа (AK) при чтении" << ExitCode::NoAnswer;
        QTest::newRow("a busy line in the backup read")
            << Kind::NoAnswer << SequenceStep::BackUp << QString() << "busy" << line
            << "нет ответа (AK) при чтении" + busy << ExitCode::NoAnswer;
        QTest::newRow("a busy line before a read, as a sentence")
            << Kind::NoAnswer << SequenceStep::BackUp << QString() << "busy" << sentence
            << "Станция не отвечает (AK)" + busy + "." << ExitCode::NoAnswer;
        QTest::newRow("stopped in the middle of the backup reply")
            << Kind::NoAnswer << SequenceStep::BackUp << "станция перестала отвечать на байте 29 из 46"
            << "" << line << "нет ответа (AK) при чтении: станция перестала отвечать на байте 29 из 46"
            << ExitCode::NoAnswer;
        QTest::newRow("stopped in the middle of the read-back")
            << Kind::NoAnswer << SequenceStep::Verify << "станция перестала отвечать на байте 100 из 1810"
            << "" << line << "нет ответа (AK) при проверочном чтении: станция перестала отвечать на байте 100 из 1810"
            << ExitCode::NoAnswer;
        QTest::newRow("start byte unanswered, as a sentence")
            << Kind::NoAnswer << SequenceStep::Write << QString() << "" << sentence
            << "Станция не отвечает (AK) при записи: в станцию ничего не записано." << ExitCode::NoAnswer;
        QTest::newRow("write broken off, as a sentence")
            << Kind::NoAnswer << SequenceStep::Write << QString() << "cut" << sentence
            << "Станция не отвечает (AK) при записи, на байте 7 из 62: станция записана не полностью."
            << ExitCode::NoAnswer;
        QTest::newRow("read-back refused")
            << Kind::Refused << SequenceStep::Verify << "больше 99 каналов"
            << "" << line << "ответ станции отвергнут при проверочном чтении: больше 99 каналов" << ExitCode::Differs;
        QTest::newRow("read-back refused, as a sentence")
            << Kind::Refused << SequenceStep::Verify << "больше 99 каналов."
            << "" << sentence
            << "Данные записаны в станцию, но ответ станции при чтении для сверки отвергнут: больше 99 каналов."
            << ExitCode::Differs;
        QTest::newRow("backup refused") << Kind::Refused << SequenceStep::BackUp << "больше 99 каналов"
                                        << "" << line << "ответ станции отвергнут: больше 99 каналов"
                                        << ExitCode::Refused;
        QTest::newRow("aborted in a read, as a sentence") << Kind::Aborted << SequenceStep::BackUp << QString() << ""
                                                          << sentence << "Прервано при чтении." << ExitCode::Stopped;
        QTest::newRow("copy not kept") << Kind::ArchiveFailed << SequenceStep::BackUp << "диск полон"
                                       << "" << line
                                       << "Прочитанные данные не сохранены в архив чтений: диск полон; станция не "
                                          "записана"
                                       << ExitCode::Failure;
        QTest::newRow("copy not kept, as a sentence: the read is whole")
            << Kind::ArchiveFailed << SequenceStep::BackUp << "диск полон"
            << "" << sentence << "Прочитанные данные не сохранены в архив чтений: диск полон." << ExitCode::Failure;
        QTest::newRow("a port that fails")
            << Kind::Failure << SequenceStep::BackUp
            << SerialErrors::cannotOpen("/dev/ttyUSB0", "Device or resource busy") << "" << line
            << "ошибка при чтении: Не удалось открыть последовательный порт "
               "/dev/ttyUSB0: Device or resource busy"
            << ExitCode::Failure;
        // The window's message puts the command on a line of its own; a
        // batch's line does not, a sentence on a terminal does.
        const QString dialout = SerialErrors::noPermission("/dev/ttyUSB0", "tech");
        QTest::newRow("an account outside dialout")
            << Kind::Failure << SequenceStep::BackUp << dialout << "" << line
            << "ошибка при чтении: Нет доступа к последовательному порту /dev/ttyUSB0: учётная запись tech не "
               "входит в группу dialout. Добавьте её в группу командой sudo adduser tech dialout и войдите в "
               "систему заново (выйдите из сеанса и снова войдите)."
            << ExitCode::Failure;
        QTest::newRow("an account outside dialout, as a sentence")
            << Kind::Failure << SequenceStep::Write << dialout << "" << sentence << dialout << ExitCode::Failure;
        QTest::newRow("another station answered the read-back")
            << Kind::StationChanged << SequenceStep::Verify << QString() << "" << line
            << "станция сменилась: до записи прочитана 111111, после записи - 222222; протокол не записан"
            << ExitCode::Differs;
    }
    void text()
    {
        QFETCH(Kind, kind);
        QFETCH(SequenceStep, step);
        QFETCH(QString, failure);
        QFETCH(QString, flags);
        QFETCH(Voice, voice);
        QFETCH(QString, text);
        QFETCH(int, exitCode);
        SequenceOutcome outcome;
        outcome.kind = kind;
        outcome.step = step;
        if (kind == Kind::Refused)
            outcome.refusal = Refusal{failure};
        else
            outcome.failure = failure;
        outcome.lineBusy = flags == "busy";
        outcome.writeStarted = flags == "cut";
        outcome.sent = 7;
        outcome.total = 62;
        outcome.serial = "111111";
        outcome.serialBack = "222222";
        QCOMPARE(OutcomeWords::text(outcome, voice), text);
        QCOMPARE(OutcomeWords::exitCode(outcome), exitCode);
    }
};

QTEST_GUILESS_MAIN(TestOutcomeWords)
#include "tst_outcomewords.moc"
