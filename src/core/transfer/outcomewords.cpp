#include "transfer/outcomewords.h"

#include "common/exitcodes.h"
#include "files/readarchive.h"
#include "link/linktexts.h"
#include "link/linktimings.h"
#include "transfer/writeverification.h"

#include <QRegularExpression>

namespace OutcomeWords {

namespace {

using Kind = SequenceOutcome::Kind;
using enum Voice;

QString during(SequenceStep step)
{
    switch (step) {
    case SequenceStep::BackUp:
        return QStringLiteral("при чтении");
    case SequenceStep::Write:
        return QStringLiteral("при записи");
    case SequenceStep::Verify:
        return QStringLiteral("при проверочном чтении");
    case SequenceStep::Report:
        break;
    }
    return QStringLiteral("при записи протокола");
}

// Where a write ended: the last byte sent is the one not answered.
QString atByte(const SequenceOutcome &outcome)
{
    return QStringLiteral(", на байте %1 из %2").arg(outcome.sent).arg(outcome.total);
}

QString busyLine()
{
    return busyLineText(LinkTimings().quietLineBoundMs);
}

QString written(Voice voice)
{
    return voice == Sentence ? QStringLiteral("данные записаны в станцию, прочитаны и совпадают с записанными")
                             : QStringLiteral("записано и проверено");
}

// A write the station stopped answering: how much of it went in.
QString writeCut(const SequenceOutcome &outcome)
{
    return outcome.writeStarted ? atByte(outcome) + QStringLiteral(": станция записана не полностью")
                                : QStringLiteral(": в станцию ничего не записано");
}

QString noAnswerLine(const SequenceOutcome &outcome)
{
    const QString words = QStringLiteral("нет ответа (%1) %2").arg(LinkTexts::noAnswer(), during(outcome.step));
    if (outcome.lineBusy)
        return words + busyLine();
    if (!outcome.failure.isEmpty()) // the reply stopped
        return words + QStringLiteral(": ") + outcome.failure;
    if (outcome.step != SequenceStep::Write)
        return words;
    return words + (outcome.writeStarted ? atByte(outcome) : QStringLiteral(", ничего не записано"));
}

// A wait for the station ran out ("AK" in the transfer dialog), as the
// middle of a sentence: the line busy rather than silent, or the reply
// stopped where it stopped.
QString noAnswerWords(const SequenceOutcome &outcome)
{
    if (!outcome.failure.isEmpty())
        return QStringLiteral("%1 (%2)").arg(outcome.failure, LinkTexts::noAnswer());
    return QStringLiteral("станция не отвечает (%1)%2")
        .arg(LinkTexts::noAnswer(), outcome.lineBusy ? busyLine() : QString());
}

QString noAnswerSentence(const SequenceOutcome &outcome)
{
    if (outcome.step == SequenceStep::Verify)
        // The write itself completed: only the reading back failed.
        return QStringLiteral("данные записаны в станцию, но прочитать их для сверки не удалось: ")
               + noAnswerWords(outcome);
    if (outcome.step == SequenceStep::Write && !outcome.lineBusy)
        return QStringLiteral("станция не отвечает (%1) при записи").arg(LinkTexts::noAnswer()) + writeCut(outcome);
    return noAnswerWords(outcome);
}

QString refused(const SequenceOutcome &outcome, Voice voice)
{
    const QString reason = outcome.refusal ? outcome.refusal->text : QString();
    // A write refuses data the check has not passed: its reason says so.
    if (outcome.step == SequenceStep::Write)
        return reason;
    if (outcome.step == SequenceStep::Verify)
        return voice == Sentence
                   ? QStringLiteral("данные записаны в станцию, но ответ станции при чтении для сверки отвергнут: ")
                         + reason
                   : QStringLiteral("ответ станции отвергнут %1: %2").arg(during(outcome.step), reason);
    // The reply's own reason is the sentence of a single read.
    return voice == Sentence ? reason : QStringLiteral("ответ станции отвергнут: ") + reason;
}

QString aborted(const SequenceOutcome &outcome)
{
    if (outcome.step == SequenceStep::Write && outcome.writeStarted)
        return QStringLiteral("прервано %1%2: станция записана не полностью")
            .arg(during(outcome.step), atByte(outcome));
    return QStringLiteral("прервано %1").arg(during(outcome.step));
}

QString words(const SequenceOutcome &outcome, Voice voice)
{
    const bool sentence = voice == Sentence;
    switch (outcome.kind) {
    case Kind::Done:
        if (!sentence || outcome.step == SequenceStep::Verify || outcome.step == SequenceStep::Report)
            return written(voice);
        return outcome.step == SequenceStep::Write ? QStringLiteral("данные записаны в станцию")
                                                   : QStringLiteral("данные прочитаны из станции");
    case Kind::NoAnswer:
        return sentence ? noAnswerSentence(outcome) : noAnswerLine(outcome);
    case Kind::Refused:
        return refused(outcome, voice);
    case Kind::Differs:
        return QStringLiteral("станция хранит не то, что записано: ") + WriteVerification::summary(outcome.differences);
    case Kind::StationChanged:
        return QStringLiteral("станция сменилась: до записи прочитана %1, после записи - %2; протокол не записан")
            .arg(outcome.serial, outcome.serialBack);
    case Kind::Failure:
        return QStringLiteral("ошибка %1: %2").arg(during(outcome.step), outcome.failure);
    case Kind::ArchiveFailed:
        // A station on its own is read alone: its read is whole, only the
        // copy is missing. A batch's station is then not written.
        return ReadArchive::failureMessage(outcome.failure)
               + (sentence ? QString() : QStringLiteral("; станция не записана"));
    case Kind::ReportFailed:
        // A report that cannot be written leaves the station written and verified.
        return written(voice) + QStringLiteral("; ошибка %1: %2").arg(during(outcome.step), outcome.failure);
    case Kind::StoppedBeforeWrite:
        return QStringLiteral("остановлено до записи");
    case Kind::StoppedAfterWrite:
        return sentence ? QStringLiteral("остановлено: данные записаны в станцию, но не проверены")
                        : QStringLiteral("остановлено: записано, не проверено");
    case Kind::StoppedBeforeReport:
        return written(voice) + QStringLiteral("; остановлено до протокола");
    case Kind::Aborted:
        return aborted(outcome);
    }
    return QString();
}

} // namespace

QString text(const SequenceOutcome &outcome, Voice voice)
{
    if (voice == Sentence) {
        // A port that fails on its own is told in the platform's words,
        // whose lines may put the command that mends it on a line of its own.
        if (outcome.kind == Kind::Failure)
            return outcome.failure;
        QString sentence = words(outcome, voice);
        if (sentence.isEmpty())
            return sentence;
        sentence[0] = sentence.at(0).toUpper();
        // The list of differences ends the line as it stands.
        if (sentence.endsWith(u'.') || outcome.kind == Kind::Differs)
            return sentence;
        return sentence + u'.';
    }
    // A batch's station is one line of its table and its journal.
    static const QRegularExpression lineBreak(QStringLiteral("\\s*\\n\\s*"));
    return words(outcome, voice).replace(lineBreak, QStringLiteral(" "));
}

int exitCode(const SequenceOutcome &outcome)
{
    switch (outcome.kind) {
    case Kind::Done:
        return ExitCode::Done;
    case Kind::NoAnswer:
        return ExitCode::NoAnswer;
    case Kind::Refused:
        return outcome.step == SequenceStep::Verify ? ExitCode::Differs : ExitCode::Refused;
    case Kind::Differs:
    case Kind::StationChanged:
        return ExitCode::Differs;
    case Kind::Failure:
    case Kind::ArchiveFailed:
    case Kind::ReportFailed:
        return ExitCode::Failure;
    case Kind::StoppedBeforeWrite:
    case Kind::StoppedAfterWrite:
    case Kind::StoppedBeforeReport:
    case Kind::Aborted:
        return ExitCode::Stopped;
    }
    return ExitCode::Failure;
}

QString gaugeText(const SequenceOutcome &outcome)
{
    if (verified(outcome))
        return QStringLiteral("готово");
    return exitCode(outcome) == ExitCode::Stopped ? QStringLiteral("остановлено") : QStringLiteral("не выполнено");
}

bool verified(const SequenceOutcome &outcome)
{
    return outcome.kind == Kind::Done || outcome.kind == Kind::ReportFailed
           || outcome.kind == Kind::StoppedBeforeReport;
}

} // namespace OutcomeWords
