#include "transfer/tform1.h"

#include "trace/tracerecorder.h"
#include "trace/transfertrace.h"
#include "transfer/linksetup.h"
#include "transfer/tracedialog.h"
#include "common/platformerror.h"
#include "link/linktexts.h"
#include "link/readobserver.h"
#include "link/stationreader.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "services/guard.h"
#include "services/uiservices.h"
#include "state/appstate.h"
#include "transfer/portchoice.h"
#include "transfer/queuedobservers.h"
#include "transfer/workertransfer.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>

namespace {

QString traceCaption()
{
    return QStringLiteral("Журнал обмена…");
}

} // namespace

TForm1::TForm1(AppState &state, UiServices &ui, PortChoice &ports, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint), m_state(state), m_ui(ui),
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
    m_radio1 = new QRadioButton(QStringLiteral(" COM1"), portFrame);
    m_radio1->setObjectName(QStringLiteral("RadioButton1"));
    m_radio1->setToolTip(QStringLiteral("Верхний разъем"));
    m_radio1->setGeometry(8, 8, 96, 20);
    m_radio2 = new QRadioButton(QStringLiteral(" COM2"), portFrame);
    m_radio2->setObjectName(QStringLiteral("RadioButton2"));
    m_radio2->setToolTip(QStringLiteral("Нижний разъем"));
    m_radio2->setGeometry(8, 34, 96, 20);
    m_radio2->setChecked(true);
    connect(m_radio1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton1Click();
    });
    connect(m_radio2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton2Click();
    });
    connect(&m_ports, &PortChoice::changed, this, [this] { m_ports.show(*m_radio1, *m_radio2); });

    m_usb = new QPushButton(LinkTexts::searchIdle(), this);
    m_usb->setObjectName(QStringLiteral("BitBtn4"));
    m_usb->setGeometry(10, 84, 110, 28);
    connect(m_usb, &QPushButton::clicked, this, &TForm1::BitBtn4Click);

    m_write = new QPushButton(QStringLiteral("Запись данных "), this);
    m_write->setObjectName(QStringLiteral("BitBtn2"));
    m_write->setGeometry(130, 10, 130, 30);
    connect(m_write, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    m_read = new QPushButton(QStringLiteral("Чтение данных "), this);
    m_read->setObjectName(QStringLiteral("BitBtn3"));
    m_read->setGeometry(130, 46, 130, 30);
    connect(m_read, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    m_exit = new QPushButton(QStringLiteral("Выход"), this);
    m_exit->setObjectName(QStringLiteral("BitBtn1"));
    m_exit->setGeometry(130, 150, 130, 30);
    connect(m_exit, &QPushButton::clicked, this, &TForm1::BitBtn1Click);

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
    // Under the search button, as wide as it: "COM5 — USB-SERIAL CH340".
    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("FoundPort"));
    m_found->setWordWrap(true);
    m_found->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_trace = new QPushButton(traceCaption(), this);
    m_trace->setObjectName(QStringLiteral("TraceButton"));
    m_trace->setGeometry(m_usb->x(), m_exit->y(), m_usb->width(), m_exit->height());
    m_trace->setEnabled(false);
    connect(m_trace, &QPushButton::clicked, this, &TForm1::showTrace);
    m_found->setGeometry(m_usb->x(), m_usb->geometry().bottom() + 6, m_usb->width(),
                         m_trace->y() - m_usb->geometry().bottom() - 10);

    // Under everything, the same width as the dialog, as high as the longest
    // advice needs in the desktop's font: what "AK" means, what a write that
    // never began means, or what a completed write took.
    m_advice = new QLabel(this);
    m_advice->setObjectName(QStringLiteral("AdviceText"));
    m_advice->setWordWrap(true);
    m_advice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    int adviceHeight = 0;
    for (const QString &text : {LinkTexts::noAnswerAdvice(), LinkTexts::writeNotStarted()}) {
        m_advice->setText(text);
        adviceHeight = std::max(adviceHeight, m_advice->heightForWidth(width() - 20) + 8);
    }
    m_advice->setGeometry(10, height(), width() - 20, adviceHeight);
    m_advice->clear();
    setFixedSize(width(), height() + adviceHeight);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::fitSearchButton()
{
    // Every caption of the search button, and the trace button's under it,
    // fits the column in the desktop's font; the columns to its right move
    // over when it needs more room.
    int needed = m_usb->width();
    for (const QString &caption : {LinkTexts::searchIdle(), LinkTexts::searching(), LinkTexts::searchFound(),
                                   LinkTexts::searchNotFound(), traceCaption()}) {
        m_usb->setText(caption);
        needed = std::max(needed, m_usb->sizeHint().width());
    }
    m_usb->setText(LinkTexts::searchIdle());
    const int shift = needed - m_usb->width();
    m_usb->resize(needed, m_usb->height());
    for (QWidget *w : std::initializer_list<QWidget *>{m_write, m_read, m_exit, m_status, m_gauge})
        w->move(w->x() + shift, w->y());
    setFixedSize(width() + shift, height());
}

void TForm1::BitBtn1Click()
{
    hide();
    emit exitRequested();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // The frame's close button and Alt+F4 do what "Выход" does; a transfer
    // keeps the dialog, whose "Выход" it has disabled.
    event->ignore();
    if (!m_state.transferRunning)
        BitBtn1Click();
}

void TForm1::openForTransfer()
{
    show();
    raise();
    guarded(m_ui, [&] { m_ports.chooseFromOptionsFile(m_optionsFile); });
    m_ports.show(*m_radio1, *m_radio2);
}

void TForm1::RadioButton1Click()
{
    m_ports.choose(1);
}

void TForm1::RadioButton2Click()
{
    m_ports.choose(2);
}

namespace {

// How a write of the dialog ended, for its trace.
QString writeOutcomeText(const WriteOutcome &outcome)
{
    switch (outcome.kind) {
    case WriteOutcome::Kind::Completed:
        return QStringLiteral("выполнено");
    case WriteOutcome::Kind::NotStarted:
        return QStringLiteral("нет ответа (%1) на стартовый байт, ничего не записано").arg(LinkTexts::noAnswer());
    case WriteOutcome::Kind::BrokenOff:
        return QStringLiteral("нет ответа (%1) при записи, на байте %2").arg(LinkTexts::noAnswer()).arg(outcome.sent);
    case WriteOutcome::Kind::NotChecked:
        return outcome.refusal ? outcome.refusal->text : QString();
    case WriteOutcome::Kind::PortFailure:
        break;
    }
    return outcome.failure;
}

} // namespace

template <class Transfer>
void TForm1::runTransfer(Transfer &&transfer)
{
    // The block ends before the error handler shows its message.
    guarded(m_ui, [&] { runOnWorkerThread(this, *this, m_state.transferRunning, transfer); });
}

TransferLink TForm1::makeLink(TransferObserver &view, const TraceRecorder &trace) const
{
    TransferLink link(view, m_optionsFile, trace.wrap(m_factory));
    link.setTimings(m_timings);
    return link;
}

Trace TForm1::traceHeader(const QString &transfer) const
{
    LinkSetup setup;
    setup.optionsFile = m_optionsFile;
    setup.portNumber = m_ports.port();
    Trace trace;
    trace.transfer = transfer;
    trace.port = TransferTrace::portName(setup);
    trace.timings = Trace::timingsText(m_timings);
    return trace;
}

void TForm1::keepTrace(const TraceRecorder &trace, const QString &outcome)
{
    const QString path = TransferTrace::keep(trace.trace(outcome), TransferTrace::folderBeside(m_archiveFolder));
    if (!path.isEmpty())
        m_lastTrace = path;
    m_trace->setEnabled(!m_lastTrace.isEmpty());
}

void TForm1::showTrace()
{
    if (m_lastTrace.isEmpty())
        return;
    TraceDialog dialog(m_lastTrace, m_ui, this);
    dialog.exec();
}

void TForm1::BitBtn2Click()
{
    const AppState work = m_state;
    WriteOutcome outcome;
    QElapsedTimer took;
    took.start();
    const TraceRecorder trace(traceHeader(QStringLiteral("запись")));
    runTransfer([&](TransferObserver &view) {
        TransferLink link = makeLink(view, trace);
        outcome = StationWriter::write(work, link);
    });
    keepTrace(trace, writeOutcomeText(outcome));
    // The status is idle after a completed write and after one the station
    // never began: the line under it tells which.
    if (outcome.kind == WriteOutcome::Kind::Completed)
        m_advice->setText(LinkTexts::written(took.elapsed()));
    else if (outcome.kind == WriteOutcome::Kind::NotStarted && outcome.sent > 0)
        m_advice->setText(LinkTexts::writeNotStarted());
    if (outcome.refusal)
        m_ui.showRefusal(*outcome.refusal);
    if (!outcome.failure.isEmpty())
        m_ui.showMessage(outcome.failure);
}

void TForm1::BitBtn3Click()
{
    if (!m_readObserver)
        return;
    AppState work = m_state;
    QString archiveFailure;
    const TraceRecorder trace(traceHeader(QStringLiteral("чтение")));
    QString ending = LinkTexts::noAnswer();
    runTransfer([&](TransferObserver &view) {
        TransferLink link = makeLink(view, trace);
        QueuedReadObserver shown(this, m_state, *m_readObserver, work);
        const StationReader::Outcome outcome = StationReader::read(work, link, shown);
        ending = outcome == StationReader::Outcome::Complete ? QStringLiteral("выполнено")
                 : outcome == StationReader::Outcome::Refused
                     ? QStringLiteral("ответ станции отвергнут")
                     : QStringLiteral("нет ответа (%1) при чтении").arg(LinkTexts::noAnswer());
        if (outcome != StationReader::Outcome::Complete)
            return;
        try {
            ReadArchive::store(work, m_archiveFolder, QDateTime::currentDateTime());
        } catch (const PlatformError &e) {
            archiveFailure = ReadArchive::failureMessage(e.text());
        }
    });
    keepTrace(trace, ending);
    if (!archiveFailure.isEmpty())
        m_ui.showMessage(archiveFailure);
}

void TForm1::BitBtn4Click()
{
    std::uint8_t portNumber = m_ports.port();
    PortEntry found;
    m_found->clear();
    Trace header;
    header.transfer = QStringLiteral("поиск");
    const TraceRecorder trace(header);
    runTransfer([&](TransferObserver &view) {
        PortSearch search(view, m_optionsFile, trace.wrap(m_factory), m_searchTimings);
        search.run(portNumber);
        found = search.found();
    });
    keepTrace(trace, portNumber == 0 ? LinkTexts::searchNotFound()
                                     : LinkTexts::searchFound() + QStringLiteral(": ") + found.withSystemName());
    m_ports.found(portNumber);
    if (portNumber != 0)
        m_found->setText(found.withSystemName());
}

void TForm1::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
    m_advice->setText(text == LinkTexts::noAnswer() ? LinkTexts::noAnswerAdvice() : QString());
}

void TForm1::setProgress(int value)
{
    m_gauge->setValue(value);
    m_gauge->repaint();
}

void TForm1::setButtonEnabled(TransferButton button, bool enabled)
{
    switch (button) {
    case TransferButton::Exit:
        m_exit->setEnabled(enabled);
        break;
    case TransferButton::Write:
        m_write->setEnabled(enabled);
        break;
    case TransferButton::Read:
        m_read->setEnabled(enabled);
        break;
    }
}

void TForm1::setSearchCaption(const QString &text)
{
    m_usb->setText(text);
    m_usb->repaint();
}

void TForm1::clearPortButtons()
{
    // The search begins: no port is chosen until it has found one.
    m_ports.found(0);
}

void TForm1::keepAlive()
{
    // Transfers run on their own thread; this one paints by itself.
}

std::optional<PortEntry> TForm1::choosePort(const QList<PortEntry> &openable)
{
    return m_ui.choosePort(openable);
}
