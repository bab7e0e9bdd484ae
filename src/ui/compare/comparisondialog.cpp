#include "compare/comparisondialog.h"

#include "common/platformerror.h"
#include "compare/comparisontaking.h"
#include "compare/windowplacement.h"
#include "link/linktexts.h"
#include "main/appstate.h"
#include "services/guard.h"
#include "services/uiservices.h"
#include "transfer/portchoice.h"
#include "transfer/transferinput.h"
#include "transfer/outcomewords.h"
#include "trace/transfertrace.h"
#include "transfer/transferjob.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using Difference = StationComparison::Difference;

constexpr int kDifferenceRole = Qt::UserRole;
// What the window would like, and the least its list and buttons need.
constexpr QSize kWishedSize(640, 420);
constexpr QSize kLeastSize(480, 300);

} // namespace

ComparisonDialog::ComparisonDialog(const AppState &document, UiServices &ui, PortChoice &ports, QWidget *parent)
    : QWidget(parent, Qt::Window), m_document(document), m_ui(ui), m_ports(ports)
{
    setObjectName(QStringLiteral("FormCompare"));
    setAttribute(Qt::WA_QuitOnClose, false);

    m_portPanel = new QWidget(this);
    auto *portFrame = new QFrame(m_portPanel);
    portFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_com1 = new QRadioButton(QStringLiteral(" COM1"), portFrame);
    m_com1->setObjectName(QStringLiteral("RadioButton1"));
    m_com1->setToolTip(QStringLiteral("Верхний разъем"));
    m_com2 = new QRadioButton(QStringLiteral(" COM2"), portFrame);
    m_com2->setObjectName(QStringLiteral("RadioButton2"));
    m_com2->setToolTip(QStringLiteral("Нижний разъем"));
    auto *portColumn = new QVBoxLayout(portFrame);
    portColumn->addWidget(m_com1);
    portColumn->addWidget(m_com2);
    m_ports.bind(*m_com1, *m_com2, this);
    m_read = new QPushButton(QStringLiteral("Читать и сравнить"), m_portPanel);
    m_read->setObjectName(QStringLiteral("ReadAndCompare"));
    connect(m_read, &QPushButton::clicked, this, &ComparisonDialog::readAndCompare);
    m_status = new QLabel(LinkTexts::idle(), m_portPanel);
    m_status->setObjectName(QStringLiteral("StaticText1"));
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setMinimumWidth(60);
    QFont big = m_status->font();
    big.setBold(true);
    m_status->setFont(big);
    m_gauge = new QProgressBar(m_portPanel);
    m_gauge->setObjectName(QStringLiteral("Gauge1"));
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    auto *top = new QHBoxLayout(m_portPanel);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(portFrame);
    top->addWidget(m_read);
    top->addWidget(m_status);
    top->addWidget(m_gauge, 1);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("DifferenceCount"));
    m_serial = new QLabel(this);
    m_serial->setObjectName(QStringLiteral("Serial"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Differences"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setAlternatingRowColors(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        const Difference &d = m_differences.at(item->data(0, kDifferenceRole).toInt());
        if (d.row > 0)
            emit cellRequested(d.row, d.column);
    });

    m_takeButton = new QPushButton(QStringLiteral("Взять выбранное"), this);
    m_takeButton->setObjectName(QStringLiteral("TakeSelected"));
    m_takeButton->setEnabled(false);
    connect(m_takeButton, &QPushButton::clicked, this, &ComparisonDialog::takeSelected);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &ComparisonDialog::showListState);
    m_close = new QPushButton(QStringLiteral("Закрыть"), this);
    m_close->setObjectName(QStringLiteral("Close"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    m_hideTextOnly = new QCheckBox(QStringLiteral("Скрыть различия только в тексте"), this);
    m_hideTextOnly->setObjectName(QStringLiteral("HideTextOnly"));
    m_hideTextOnly->setToolTip(QStringLiteral("Различия, которые станция не различает: написание и строки, "
                                              "которые в станции не хранятся"));
    m_hideTextOnly->setEnabled(false);
    connect(m_hideTextOnly, &QCheckBox::toggled, this, &ComparisonDialog::hideTextOnly);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_takeButton);
    bottom->addWidget(m_hideTextOnly);
    bottom->addStretch(1);
    bottom->addWidget(m_close);

    // The headline and the serial number each on a line of their own, as
    // long as they are: the window stays as narrow as it was placed.
    m_count->setWordWrap(true);
    m_serial->setWordWrap(true);
    auto *column = new QVBoxLayout(this);
    column->addWidget(m_portPanel);
    column->addWidget(m_count);
    column->addWidget(m_serial);
    column->addWidget(m_list, 1);
    column->addLayout(bottom);
    resize(kWishedSize);
}

void ComparisonDialog::openForStation()
{
    setWindowTitle(QStringLiteral("Сравнение со станцией"));
    m_portPanel->show();
    clearList();
    m_status->setText(LinkTexts::idle());
    m_gauge->setValue(0);
    guarded(m_ui, [&] { m_ports.chooseFromOptionsFile(m_optionsFile); });
    m_ports.show(*m_com1, *m_com2);
    showBesideMainWindow();
}

void ComparisonDialog::showFileComparison(const StationSide &file, bool namesSerial)
{
    setWindowTitle(QStringLiteral("Сравнение с файлом"));
    m_portPanel->hide();
    m_otherNamesSerial = namesSerial;
    showComparison(file, QStringLiteral("в файле"));
    showBesideMainWindow();
}

void ComparisonDialog::showBesideMainWindow()
{
    // First shown beside the main window, where it hides none of the table a
    // double-click on a difference selects; later where the user left it.
    QWidget *main = parentWidget();
    const QScreen *screen = main ? main->screen() : nullptr;
    if (!m_placed && screen) {
        // The frame this window will get is the main window's, as far as can be known before it is shown.
        const QRect inner = main->geometry();
        const QRect outer = main->frameGeometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        const QSize margins(frame.left() + frame.right(), frame.top() + frame.bottom());
        const WindowPlacement::Placement placed = WindowPlacement::beside(
            outer, size() + margins, minimumSizeHint().expandedTo(kLeastSize) + margins, screen->availableGeometry());
        if (placed.anchor != outer)
            main->move(placed.anchor.topLeft());
        move(placed.window.topLeft());
        resize(placed.window.size() - margins);
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
}

void ComparisonDialog::clearList()
{
    m_differences.clear();
    m_table.reset();
    m_other.reset();
    m_headline.clear();
    m_list->clear();
    m_list->setHeaderLabels({QStringLiteral("Место"), QStringLiteral("в таблице"), QStringLiteral("в станции"),
                             QStringLiteral("Примечание")});
    m_count->clear();
    m_serial->clear();
    m_hideTextOnly->setEnabled(false);
    showListState();
}

void ComparisonDialog::showComparison(StationSide other, const QString &otherCaption)
{
    clearList();
    m_table = std::make_unique<StationSide>(StationSide::checked(m_document, m_document.checkedStation()));
    m_other = std::make_unique<StationSide>(std::move(other));
    m_otherCaption = otherCaption;
    const StationComparison comparison(*m_table, *m_other);
    m_differences = comparison.differences();
    m_list->setHeaderLabels(
        {QStringLiteral("Место"), QStringLiteral("в таблице"), otherCaption, QStringLiteral("Примечание")});
    for (int i = 0; i < m_differences.size(); ++i) {
        const Difference &d = m_differences.at(i);
        auto *item = new QTreeWidgetItem(m_list, {d.place(), d.a, d.b, StationComparison::note(d.kind)});
        item->setData(0, kDifferenceRole, i);
    }
    // The count is of what a station would hold apart; spellings and lines
    // it does not keep are counted beside it.
    const auto held = std::count_if(m_differences.begin(), m_differences.end(), StationComparison::heldApart);
    const auto textOnly = m_differences.size() - held;
    if (held == 0)
        m_headline = textOnly == 0 ? QStringLiteral("Нет различий")
                                   : QStringLiteral("Нет различий в станции; только в тексте: %1").arg(textOnly);
    else
        m_headline = textOnly == 0 ? QStringLiteral("Различий: %1").arg(held)
                                   : QStringLiteral("Различий: %1; только в тексте: %2").arg(held).arg(textOnly);
    m_hideTextOnly->setEnabled(textOnly > 0);
    hideTextOnly();
    showListState();
    if (!m_otherNamesSerial)
        m_serial->setText(QStringLiteral("В файле нет строки серийного номера"));
    else if (!comparison.serialB().isEmpty())
        m_serial->setText(
            QStringLiteral("Серийный номер %1: %2 (не сравнивается)").arg(otherCaption, comparison.serialB()));
    // As wide as the list's content, within the screen the window is on.
    const QFontMetrics metrics(m_list->font());
    int width = 0;
    for (int c = 0; c < m_list->columnCount(); ++c) {
        int column = metrics.horizontalAdvance(m_list->headerItem()->text(c));
        for (int i = 0; i < m_list->topLevelItemCount(); ++i)
            column = std::max(column, metrics.horizontalAdvance(m_list->topLevelItem(i)->text(c)));
        width += column + 24;
    }
    int widest = 1000;
    if (m_placed && screen()) {
        const int frame = frameGeometry().width() - this->width();
        widest = std::min(widest, screen()->availableGeometry().right() + 1 - frameGeometry().left() - frame);
    }
    resize(std::max(this->width(), std::min(width + 40, widest)), height());
}

void ComparisonDialog::hideTextOnly()
{
    const bool hide = m_hideTextOnly->isChecked();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        const Difference &d = m_differences.at(item->data(0, kDifferenceRole).toInt());
        item->setHidden(hide && !StationComparison::heldApart(d));
        if (item->isHidden())
            item->setSelected(false);
    }
}

bool ComparisonDialog::listIsCurrent() const
{
    if (!m_table)
        return false;
    const StationSide now = StationSide::checked(m_document, m_document.checkedStation());
    return now.table == m_table->table && now.settingsLines == m_table->settingsLines
           && now.station.stationKind == m_table->station.stationKind
           && now.station.moduleCode == m_table->station.moduleCode;
}

void ComparisonDialog::showListState()
{
    const bool current = listIsCurrent();
    m_takeButton->setEnabled(current && !m_list->selectedItems().isEmpty());
    if (!m_table || current)
        m_count->setText(m_headline);
    else
        m_count->setText(m_headline + QStringLiteral(" — список устарел: таблица изменилась после сравнения"));
}

void ComparisonDialog::tableChanged()
{
    showListState();
}

ComparisonDialog::~ComparisonDialog() = default;

void ComparisonDialog::readAndCompare()
{
    if (m_job)
        return;
    clearList();
    m_gauge->setValue(0);
    guarded(m_ui, [&] {
        if (m_check && !m_check())
            return;
        m_status->setText(LinkTexts::reading());
        StationPlan plan;
        plan.link = nextTransferLink(m_ui, m_ports, m_optionsFile, m_factory, m_timings);
        plan.archiveFolder = m_archiveFolder;
        plan.link.traceFolder = TransferTrace::folderBeside(m_archiveFolder);
        plan.write = false;
        plan.verify = false;
        m_job = std::make_unique<TransferJob>(std::move(plan));
        // The bar counts up over the reply's bytes, to 100 only once the
        // whole reply is in.
        connect(m_job.get(), &TransferJob::progress, this,
                [this](const TransferProgress &progress) { m_gauge->setValue(progress.percent()); });
        connect(m_job.get(), &TransferJob::finished, this, &ComparisonDialog::readFinished);
        setReading(true);
        m_job->start();
    });
}

void ComparisonDialog::setReading(bool reading)
{
    if (reading)
        m_inputBlock = std::make_unique<TransferInputBlock>(m_ports);
    else
        m_inputBlock.reset();
    m_read->setEnabled(!reading);
    m_close->setEnabled(!reading);
}

void ComparisonDialog::readFinished()
{
    using Kind = SequenceOutcome::Kind;
    const std::unique_ptr<TransferJob> job = std::move(m_job);
    const SequenceOutcome &outcome = job->outcome();
    setReading(false);
    const bool complete = outcome.kind == Kind::Done || outcome.kind == Kind::ArchiveFailed;
    if (complete) {
        m_gauge->setValue(100);
        m_status->setText(LinkTexts::idle());
    } else if (outcome.portOpened) {
        m_status->setText(LinkTexts::noAnswer());
    }
    if (outcome.kind == Kind::Refused && outcome.refusal)
        m_ui.showRefusal(*outcome.refusal);
    else if (outcome.kind == Kind::ArchiveFailed || outcome.kind == Kind::Failure)
        m_ui.showMessage(OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence));
    if (complete) {
        m_otherNamesSerial = true;
        showComparison(StationSide::read(outcome.held), QStringLiteral("в станции"));
    }
    emit readEnded();
}

void ComparisonDialog::takeSelected()
{
    if (!m_other || !m_take)
        return;
    if (!listIsCurrent()) {
        m_ui.showMessage(ComparisonTaking::outOfDateText());
        return;
    }
    QList<Difference> chosen;
    for (const QTreeWidgetItem *item : m_list->selectedItems()) {
        if (!item->isHidden())
            chosen.append(m_differences.at(item->data(0, kDifferenceRole).toInt()));
    }
    m_take(chosen, *m_other);
    // The list shows what is left to take, compared with the table as the take left it.
    guarded(m_ui, [&] {
        if (m_check && m_check())
            showComparison(*m_other, m_otherCaption);
    });
    emit tableRequested();
}

void ComparisonDialog::closeEvent(QCloseEvent *event)
{
    // No closing in the middle of a read, as in the transfer dialog.
    if (m_job)
        event->ignore();
    else
        event->accept();
}
