#include "transfer/transferdialog.h"

#include "common/platformerror.h"
#include "link/linktexts.h"
#include "main/appstate.h"
#include "services/guard.h"
#include "services/uiservices.h"
#include "transfer/linksetup.h"
#include "transfer/portchoice.h"
#include "transfer/transferinput.h"
#include "transfer/outcomewords.h"
#include "transfer/transferjob.h"
#include "transfer/transfergauge.h"
#include "transfer/tracedialog.h"
#include "trace/transfertrace.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <algorithm>

namespace {

const QString kVerifyKey = QStringLiteral("transfer/verifyAfterWrite");

QString traceCaption()
{
    return QStringLiteral("Журнал обмена…");
}

// What is said under "AK" when the reading back found the line busy: the
// longest advice, which the dialog makes room for.
QString verifyNoAnswer()
{
    SequenceOutcome outcome;
    outcome.kind = SequenceOutcome::Kind::NoAnswer;
    outcome.step = SequenceStep::Verify;
    outcome.lineBusy = true;
    return OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence) + u' ' + LinkTexts::noAnswerAdvice();
}

} // namespace

TransferDialog::TransferDialog(const AppState &document, UiServices &ui, PortChoice &ports, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint), m_document(document), m_ui(ui),
      m_ports(ports)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Прием и передача информации в станцию"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(330, 190);

    auto *portFrame = new QFrame(this);
    portFrame->setObjectName(QStringLiteral("Panel1"));
    portFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    portFrame->setGeometry(10, 10, 110, 64);
    m_com1 = new QRadioButton(QStringLiteral(" COM1"), portFrame);
    m_com1->setObjectName(QStringLiteral("RadioButton1"));
    m_com1->setToolTip(QStringLiteral("Верхний разъем"));
    m_com1->setGeometry(8, 8, 96, 20);
    m_com2 = new QRadioButton(QStringLiteral(" COM2"), portFrame);
    m_com2->setObjectName(QStringLiteral("RadioButton2"));
    m_com2->setToolTip(QStringLiteral("Нижний разъем"));
    m_com2->setGeometry(8, 34, 96, 20);
    m_com2->setChecked(true);
    m_ports.bind(*m_com1, *m_com2, this);

    m_search = new QPushButton(LinkTexts::searchIdle(), this);
    m_search->setObjectName(QStringLiteral("BitBtn4"));
    m_search->setGeometry(10, 84, 110, 28);
    connect(m_search, &QPushButton::clicked, this, &TransferDialog::onSearch);

    m_write = new QPushButton(QStringLiteral("Запись данных "), this);
    m_write->setObjectName(QStringLiteral("BitBtn2"));
    m_write->setGeometry(130, 10, 130, 30);
    connect(m_write, &QPushButton::clicked, this, &TransferDialog::onWrite);
    m_read = new QPushButton(QStringLiteral("Чтение данных "), this);
    m_read->setObjectName(QStringLiteral("BitBtn3"));
    m_read->setGeometry(130, 46, 130, 30);
    connect(m_read, &QPushButton::clicked, this, &TransferDialog::onRead);
    m_exit = new QPushButton(QStringLiteral("Выход"), this);
    m_exit->setObjectName(QStringLiteral("BitBtn1"));
    m_exit->setGeometry(130, 150, 130, 30);
    connect(m_exit, &QPushButton::clicked, this, &TransferDialog::onExit);

    m_status = new QLabel(LinkTexts::idle(), this);
    m_status->setObjectName(QStringLiteral("StaticText1"));
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setAlignment(Qt::AlignCenter);
    QFont big = m_status->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    m_status->setFont(big);
    m_status->setGeometry(130, 90, 130, 40);

    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName(QStringLiteral("Gauge1"));
    m_gauge->setOrientation(Qt::Vertical);
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    m_gauge->setGeometry(280, 10, 36, 170);
    fitSearchButton();

    // Off by default, so that the bytes on the line stay as they were.
    m_verify = new QCheckBox(QStringLiteral("Проверить чтением после записи"), this);
    m_verify->setObjectName(QStringLiteral("VerifyAfterWrite"));
    m_verify->setGeometry(10, height(), width() - 20, 24);
    setFixedSize(width(), height() + 28);
    connect(m_verify, &QCheckBox::toggled, this, &TransferDialog::onVerifyToggled);
    setSettingsFile(m_settingsFile);

    // Under the search button, as wide as it: "COM5 — USB-SERIAL CH340";
    // below it, beside "Выход", the trace of the last transfer.
    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("FoundPort"));
    m_found->setWordWrap(true);
    m_found->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_trace = new QPushButton(traceCaption(), this);
    m_trace->setObjectName(QStringLiteral("TraceButton"));
    m_trace->setGeometry(m_search->x(), m_exit->y(), m_search->width(), m_exit->height());
    m_trace->setEnabled(false);
    connect(m_trace, &QPushButton::clicked, this, &TransferDialog::showTrace);
    m_found->setGeometry(m_search->x(), m_search->geometry().bottom() + 6, m_search->width(),
                         m_trace->y() - m_search->geometry().bottom() - 10);

    // Under everything, the same width as the dialog, as high as the longest
    // advice needs in the desktop's font: what "AK" means, what a write that
    // never began means, what a completed write took or what its read-back
    // found.
    m_advice = new QLabel(this);
    m_advice->setObjectName(QStringLiteral("AdviceText"));
    m_advice->setWordWrap(true);
    m_advice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    int adviceHeight = 0;
    for (const QString &text : {LinkTexts::noAnswerAdvice(), LinkTexts::writeNotStarted(), verifyNoAnswer()}) {
        m_advice->setText(text);
        adviceHeight = std::max(adviceHeight, m_advice->heightForWidth(width() - 20) + 8);
    }
    m_advice->setGeometry(10, height(), width() - 20, adviceHeight);
    m_advice->clear();
    setFixedSize(width(), height() + adviceHeight);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TransferDialog::fitSearchButton()
{
    // Every caption of the search button, and the trace button's under it,
    // fits the column in the desktop's font; the columns to its right move
    // over when it needs more room.
    int needed = m_search->width();
    for (const QString &caption : {LinkTexts::searchIdle(), LinkTexts::searching(), LinkTexts::searchFound(),
                                   LinkTexts::searchNotFound(), traceCaption()}) {
        m_search->setText(caption);
        needed = std::max(needed, m_search->sizeHint().width());
    }
    m_search->setText(LinkTexts::searchIdle());
    const int shift = needed - m_search->width();
    m_search->resize(needed, m_search->height());
    for (QWidget *w : std::initializer_list<QWidget *>{m_write, m_read, m_exit, m_status, m_gauge})
        w->move(w->x() + shift, w->y());
    setFixedSize(width() + shift, height());
}

TransferDialog::~TransferDialog() = default;

void TransferDialog::setSettingsFile(const QString &path)
{
    m_settingsFile = path;
    const QSignalBlocker quiet(m_verify);
    m_verify->setChecked(QSettings(m_settingsFile, QSettings::IniFormat).value(kVerifyKey, false).toBool());
}

void TransferDialog::onVerifyToggled()
{
    // A settings file that cannot be written costs only the memory of the next run.
    QSettings(m_settingsFile, QSettings::IniFormat).setValue(kVerifyKey, m_verify->isChecked());
}

void TransferDialog::onExit()
{
    hide();
    emit exitRequested();
}

void TransferDialog::closeEvent(QCloseEvent *event)
{
    // The frame's close button and Alt+F4 do what "Выход" does; a transfer
    // keeps the dialog, whose "Выход" it has disabled.
    event->ignore();
    if (!m_ports.transferRunning())
        onExit();
}

void TransferDialog::openForTransfer()
{
    show();
    raise();
    guarded(m_ui, [&] { m_ports.chooseFromOptionsFile(m_optionsFile); });
    m_ports.show(*m_com1, *m_com2);
}

StationPlan TransferDialog::stationPlan() const
{
    StationPlan plan;
    plan.link = nextTransferLink(m_ui, m_ports, m_optionsFile, m_factory, m_timings);
    plan.link.traceFolder = TransferTrace::folderBeside(m_archiveFolder);
    plan.backUp = false;
    plan.write = false;
    plan.verify = false;
    return plan;
}

void TransferDialog::run(Operation operation, std::unique_ptr<TransferJob> job)
{
    m_operation = operation;
    m_job = std::move(job);
    connect(m_job.get(), &TransferJob::stepStarted, this,
            [this](SequenceStep step, const QString &) { stepStarted(step); });
    connect(m_job.get(), &TransferJob::progress, this, &TransferDialog::progress);
    connect(m_job.get(), &TransferJob::received, this,
            [this](SequenceStep, const QByteArray &reply) { emit readReceived(reply); });
    connect(m_job.get(), &TransferJob::finished, this, &TransferDialog::ended);
    m_inputBlock = std::make_unique<TransferInputBlock>(m_ports);
    if (operation != Operation::Search)
        setButtonsEnabled(false);
    m_job->start();
}

void TransferDialog::onWrite()
{
    if (m_job)
        return;
    if (!m_document.dataValid) {
        m_ui.showRefusal(Refusal{LinkTexts::dataNotChecked()});
        return;
    }
    guarded(m_ui, [&] {
        StationPlan plan = stationPlan();
        plan.channels = m_document;
        plan.data = m_document.checkedStation();
        plan.write = true;
        plan.verify = m_verify->isChecked();
        m_advice->clear();
        run(Operation::Write, std::make_unique<TransferJob>(std::move(plan)));
    });
}

void TransferDialog::onRead()
{
    if (m_job)
        return;
    setStatus(LinkTexts::reading());
    guarded(m_ui, [&] {
        StationPlan plan = stationPlan();
        // A band code that names no station type keeps the document's.
        plan.channels.stationKind = m_document.stationKind;
        plan.backUp = true;
        plan.archiveFolder = m_archiveFolder;
        run(Operation::Read, std::make_unique<TransferJob>(std::move(plan)));
        emit readStarted();
    });
}

void TransferDialog::onSearch()
{
    if (m_job)
        return;
    // No port is chosen until the search has found one.
    m_ports.found(0);
    m_found->clear();
    m_search->setText(LinkTexts::searching());
    run(Operation::Search, std::make_unique<TransferJob>(m_optionsFile, m_factory, m_searchTimings,
                                                         TransferTrace::folderBeside(m_archiveFolder)));
}

void TransferDialog::stepStarted(SequenceStep step)
{
    setStatus(step == SequenceStep::Write ? LinkTexts::writing() : LinkTexts::reading());
}

void TransferDialog::progress(const TransferProgress &progress)
{
    m_gauge->setValue(TransferGauge::value(progress));
}

void TransferDialog::ended()
{
    const std::unique_ptr<TransferJob> job = std::move(m_job);
    m_inputBlock.reset();
    if (m_operation != Operation::Search)
        setButtonsEnabled(true);
    if (!job->trace().isEmpty())
        m_lastTrace = job->trace();
    m_trace->setEnabled(!m_lastTrace.isEmpty());
    switch (m_operation) {
    case Operation::Search:
        m_ports.found(job->foundPort());
        m_search->setText(job->foundPort() != 0 ? LinkTexts::searchFound() : LinkTexts::searchNotFound());
        // No port button stands for most ports the search may find.
        if (job->foundPort() != 0)
            m_found->setText(job->foundEntry().withSystemName());
        break;
    case Operation::Read:
        showReadEnd(job->outcome());
        break;
    case Operation::Write:
        showWriteEnd(job->outcome());
        break;
    }
    emit transferEnded();
}

void TransferDialog::showReadEnd(const SequenceOutcome &outcome)
{
    using Kind = SequenceOutcome::Kind;
    const bool complete = outcome.kind == Kind::Done || outcome.kind == Kind::ArchiveFailed;
    if (complete) {
        m_gauge->setValue(TransferGauge::completed(SequenceStep::BackUp));
        setStatus(LinkTexts::idle());
    } else if (outcome.portOpened) {
        // Before the port was open the status keeps "ПП".
        showNoAnswer(outcome);
    }
    emit readEnded(complete);
    if (outcome.kind == Kind::Refused && outcome.refusal)
        m_ui.showRefusal(*outcome.refusal);
    else if (outcome.kind == Kind::ArchiveFailed || outcome.kind == Kind::Failure)
        m_ui.showMessage(OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence));
}

void TransferDialog::showWriteEnd(const SequenceOutcome &outcome)
{
    using Kind = SequenceOutcome::Kind;
    if (!outcome.portOpened) {
        m_ui.showMessage(outcome.failure);
        return;
    }
    const bool verifying = outcome.step == SequenceStep::Verify;
    switch (outcome.kind) {
    case Kind::Done:
        m_gauge->setValue(TransferGauge::completed(outcome.step));
        setStatus(LinkTexts::idle());
        m_advice->setText(verifying ? QStringLiteral("Записано и проверено") : LinkTexts::written(outcome.writeMs));
        return;
    case Kind::Differs:
        setStatus(LinkTexts::idle());
        m_advice->setText(OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence));
        return;
    case Kind::NoAnswer:
        // A start byte that went unanswered ends the write quietly, its
        // status back to idle; the line under it says nothing was written.
        if (!verifying && !outcome.writeStarted && !outcome.lineBusy) {
            setStatus(LinkTexts::idle());
            m_advice->setText(LinkTexts::writeNotStarted());
            return;
        }
        showNoAnswer(outcome);
        if (verifying)
            m_advice->setText(OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence) + u' '
                              + LinkTexts::noAnswerAdvice());
        else if (outcome.writeStarted)
            // The write went no further than the byte the station left
            // unanswered: its port is closed.
            m_ui.showMessage(SerialErrors::notOpen());
        return;
    case Kind::Refused:
        setStatus(LinkTexts::noAnswer());
        m_advice->setText(OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence));
        return;
    default:
        setStatus(LinkTexts::noAnswer());
        if (!outcome.failure.isEmpty())
            m_ui.showMessage(OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence));
        return;
    }
}

void TransferDialog::showTrace()
{
    if (m_lastTrace.isEmpty())
        return;
    TraceDialog dialog(m_lastTrace, m_ui, this);
    dialog.exec();
}

void TransferDialog::showNoAnswer(const SequenceOutcome &outcome)
{
    setStatus(LinkTexts::noAnswer());
    // A busy line, or a reply that stopped, is told as the command line
    // tells it, before what to check.
    if (outcome.kind == SequenceOutcome::Kind::NoAnswer && (outcome.lineBusy || !outcome.failure.isEmpty()))
        m_advice->setText(OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence) + u' '
                          + LinkTexts::noAnswerChecks());
}

void TransferDialog::setStatus(const QString &text)
{
    m_status->setText(text);
    m_advice->setText(text == LinkTexts::noAnswer() ? LinkTexts::noAnswerAdvice() : QString());
}

void TransferDialog::setButtonsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_exit, m_write, m_read})
        w->setEnabled(enabled);
}
