#include "compare/tformcompare.h"

#include "common/platformerror.h"
#include "compare/comparisontaking.h"
#include "link/linktexts.h"
#include "link/readobserver.h"
#include "link/stationreader.h"
#include "link/transferlink.h"
#include "services/guard.h"
#include "services/uiservices.h"
#include "state/appstate.h"
#include "transfer/portchoice.h"
#include "transfer/workertransfer.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using Difference = StationComparison::Difference;

// The read for a comparison goes into a state of its own: the window's table
// shows nothing of it. The read runs on a worker thread, so a refusal is kept
// and shown once the read has ended; the rest has nothing to show.
class ComparisonReadView final : public ReadObserver
{
public:
    void settingsChanged() override {}
    void stationSelected(std::optional<StationKind>) override {}
    void tableShown() override {}
    void moduleMarked() override {}
    void refused(const Refusal &r) override { refusal = r; }

    std::optional<Refusal> refusal;
};

constexpr int kDifferenceRole = Qt::UserRole;

} // namespace

TFormCompare::TFormCompare(AppState &state, UiServices &ui, PortChoice &ports, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state), m_ui(ui), m_ports(ports)
{
    setObjectName(QStringLiteral("FormCompare"));
    setAttribute(Qt::WA_QuitOnClose, false);

    m_portPanel = new QWidget(this);
    auto *portFrame = new QFrame(m_portPanel);
    portFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_radio1 = new QRadioButton(QStringLiteral(" COM1"), portFrame);
    m_radio1->setObjectName(QStringLiteral("RadioButton1"));
    m_radio1->setToolTip(QStringLiteral("Верхний разъем"));
    m_radio2 = new QRadioButton(QStringLiteral(" COM2"), portFrame);
    m_radio2->setObjectName(QStringLiteral("RadioButton2"));
    m_radio2->setToolTip(QStringLiteral("Нижний разъем"));
    auto *portColumn = new QVBoxLayout(portFrame);
    portColumn->addWidget(m_radio1);
    portColumn->addWidget(m_radio2);
    connect(m_radio1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_ports.choose(1);
    });
    connect(m_radio2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_ports.choose(2);
    });
    connect(&m_ports, &PortChoice::changed, this, [this] { m_ports.show(*m_radio1, *m_radio2); });
    m_read = new QPushButton(QStringLiteral("Читать и сравнить"), m_portPanel);
    m_read->setObjectName(QStringLiteral("ReadAndCompare"));
    connect(m_read, &QPushButton::clicked, this, &TFormCompare::readAndCompare);
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
    connect(m_takeButton, &QPushButton::clicked, this, &TFormCompare::takeSelected);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TFormCompare::showListState);
    m_close = new QPushButton(QStringLiteral("Закрыть"), this);
    m_close->setObjectName(QStringLiteral("Close"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_takeButton);
    bottom->addStretch(1);
    bottom->addWidget(m_close);

    auto *column = new QVBoxLayout(this);
    column->addWidget(m_portPanel);
    auto *counts = new QHBoxLayout;
    counts->addWidget(m_count);
    counts->addStretch(1);
    counts->addWidget(m_serial);
    column->addLayout(counts);
    column->addWidget(m_list, 1);
    column->addLayout(bottom);
    resize(640, 420);
}

void TFormCompare::openForStation()
{
    setWindowTitle(QStringLiteral("Сравнение со станцией"));
    m_portPanel->show();
    clearList();
    m_status->setText(LinkTexts::idle());
    m_gauge->setValue(0);
    guarded(m_ui, [&] { m_ports.chooseFromOptionsFile(m_optionsFile); });
    m_ports.show(*m_radio1, *m_radio2);
    showOverMainWindow();
}

void TFormCompare::showFileComparison(const StationSide &file)
{
    setWindowTitle(QStringLiteral("Сравнение с файлом"));
    m_portPanel->hide();
    showComparison(file, QStringLiteral("в файле"));
    showOverMainWindow();
}

void TFormCompare::showOverMainWindow()
{
    // First shown in the middle of the main window, later where the user left it.
    if (!m_placed && parentWidget()) {
        move(parentWidget()->geometry().center() - rect().center());
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
}

void TFormCompare::clearList()
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
    showListState();
}

void TFormCompare::showComparison(StationSide other, const QString &otherCaption)
{
    clearList();
    m_table = std::make_unique<StationSide>(StationSide::checked(m_state, m_state.checkedStation()));
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
    m_headline = m_differences.isEmpty() ? QStringLiteral("Нет различий")
                                         : QStringLiteral("Различий: %1").arg(m_differences.size());
    showListState();
    if (!comparison.serialB().isEmpty())
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
    resize(std::max(this->width(), std::min(width + 40, 1000)), height());
}

bool TFormCompare::listIsCurrent() const
{
    if (!m_table)
        return false;
    const StationSide now = StationSide::checked(m_state, m_state.checkedStation());
    return now.table == m_table->table && now.settingsLines == m_table->settingsLines
           && now.stationKind == m_table->stationKind && now.moduleCode == m_table->moduleCode;
}

void TFormCompare::showListState()
{
    const bool current = listIsCurrent();
    m_takeButton->setEnabled(current && !m_list->selectedItems().isEmpty());
    if (!m_table || current)
        m_count->setText(m_headline);
    else
        m_count->setText(m_headline + QStringLiteral(" — список устарел: таблица изменилась после сравнения"));
}

void TFormCompare::tableChanged()
{
    showListState();
}

void TFormCompare::readAndCompare()
{
    clearList();
    guarded(m_ui, [&] {
        if (m_check && !m_check())
            return;
        AppState held;
        held.portNumber = m_ports.port();
        ComparisonReadView view;
        bool complete = false;
        QString archiveFailure;
        runOnWorkerThread(this, *this, m_state.transferRunning, [&](TransferObserver &shown) {
            TransferLink link(shown, m_optionsFile, m_factory);
            complete = StationReader::read(held, link, view) == StationReader::Outcome::Complete;
            if (!complete)
                return;
            try {
                ReadArchive::store(held, m_archiveFolder, QDateTime::currentDateTime());
            } catch (const PlatformError &e) {
                archiveFailure = ReadArchive::failureMessage(e.text());
            }
        });
        if (view.refusal)
            m_ui.showRefusal(*view.refusal);
        if (!archiveFailure.isEmpty())
            m_ui.showMessage(archiveFailure);
        if (complete)
            showComparison(StationSide::read(held), QStringLiteral("в станции"));
    });
}

void TFormCompare::takeSelected()
{
    if (!m_other || !m_take)
        return;
    if (!listIsCurrent()) {
        m_ui.showMessage(ComparisonTaking::outOfDateText());
        return;
    }
    QList<Difference> chosen;
    for (const QTreeWidgetItem *item : m_list->selectedItems())
        chosen.append(m_differences.at(item->data(0, kDifferenceRole).toInt()));
    m_take(chosen, *m_other);
    // The list shows what is left to take, compared with the table as the take left it.
    guarded(m_ui, [&] {
        if (m_check && m_check())
            showComparison(*m_other, m_otherCaption);
    });
}

void TFormCompare::closeEvent(QCloseEvent *event)
{
    // No closing in the middle of a read, as in the transfer dialog.
    if (m_state.transferRunning)
        event->ignore();
    else
        event->accept();
}

void TFormCompare::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
}

void TFormCompare::setProgress(int value)
{
    m_gauge->setValue(value);
    m_gauge->repaint();
}

void TFormCompare::setButtonEnabled(TransferButton button, bool enabled)
{
    if (button == TransferButton::Read)
        m_read->setEnabled(enabled);
    if (button == TransferButton::Exit)
        m_close->setEnabled(enabled);
}

void TFormCompare::clearPortButtons()
{
    // Only a search clears the port choice, and this window runs none.
}

std::optional<PortEntry> TFormCompare::choosePort(const QList<PortEntry> &openable)
{
    return m_ui.choosePort(openable);
}
