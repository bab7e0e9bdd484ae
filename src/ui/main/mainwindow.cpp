#include "main/mainwindow.h"
#include "image/stationreply.h"
#include "link/linktexts.h"
#include "check/datacheck.h"
#include "common/paths.h"
#include "report/reportdocument.h"
#include "main/celleditors.h"
#include "main/focusleave.h"
#include "main/channeltablemodel.h"
#include "main/repeaterpanel.h"
#include "main/tablehistory.h"
#include "main/tablesheetactions.h"
#include "main/windowgeometry.h"
#include "services/guard.h"
#include "services/uiservices.h"
#include "transfer/portchoice.h"
#include "table/settingstext.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableView>

namespace {
constexpr int kClientWidth = 797;
constexpr int kClientHeight = 397;

} // namespace

MainWindow::MainWindow(AppState &state, UiServices &ui, PortChoice &ports, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_ui(ui), m_ports(ports)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(m_state.profile().caption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The layout is made for an 8-point font; the family stays the desktop's.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    buildMenu();
    buildWorkArea();
    // The first size is the smallest; the table takes what the window grows by.
    const int height = kClientHeight + menuBar()->sizeHint().height();
    setMinimumSize(kClientWidth, height);
    resize(kClientWidth, height);
    centralWidget()->resize(kClientWidth, kClientHeight);
    buildTableTools();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, height / 2));
    WindowGeometry::restore(*this, RecentFiles::defaultStoreFile());

    // What the creation of the window sets: the 144-174 profile is in force
    // without the steps of a selection, nothing is hidden anew.
    m_state.dataValid = false;
    m_ports.choose(0);
    m_state.bandCode = 0;
    m_state.moduleCode = 0;
    m_firstFrequencyEdit->setText(QString::number(m_state.profile().lowKHz));
    refreshStationMenus();
    refreshRecentMenu();
}

QAction *MainWindow::action(const char *name) const
{
    return findChild<QAction *>(QLatin1String(name));
}

void MainWindow::buildWorkArea()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);

    m_workArea = new QFrame(client);
    m_workArea->setObjectName(QStringLiteral("Panel1"));
    m_workArea->setGeometry(0, 0, 797, 396);
    m_workArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_workArea->hide();

    buildTemplatePanel();

    m_settingsText = new QPlainTextEdit(m_workArea);
    m_settingsText->setObjectName(QStringLiteral("Memo1"));
    m_settingsText->setGeometry(251, 6, 280, 145);
    m_settingsText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_settingsText->setStyleSheet(QStringLiteral("QPlainTextEdit { background-color: rgb(180,105,255); }"));
    m_settingsText->hide();
    connect(m_settingsText, &QPlainTextEdit::textChanged, this, &MainWindow::onSettingsEdited);

    m_model = new ChannelTableModel(m_state.table, this);
    m_repeaterPanel = new RepeaterPanel(m_state, m_ui, *m_model, m_workArea);
    m_repeaterPanel->setGeometry(537, 6, 252, 143);
    m_repeaterPanel->hide();
    m_grid = new QTableView(m_workArea);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setGeometry(5, 155, 787, 235);
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setMinimumSectionSize(10);
    // The header row is a row like the others, and the current column's
    // header keeps its look (highlighted it turns bold and no longer fits).
    m_grid->horizontalHeader()->setFixedHeight(20);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setStyleSheet(QStringLiteral("QTableView { background-color: rgb(255,204,204); color: navy; }"));
    for (int c = 0; c < ChannelTable::ColumnCount; ++c)
        m_grid->setColumnWidth(c, ChannelTable::columnWidths()[static_cast<std::size_t>(c)]);
    // A frequency read from a station ("144006,25") is wider in the desktop's
    // font than the two 55-pixel columns were made for; the grid has the room.
    m_grid->setColumnWidth(ChannelTable::Rx, 62);
    m_grid->setColumnWidth(ChannelTable::Tx, 62);
    m_grid->hide();
    m_editors = new CellEditors(*m_grid, *m_model, *m_workArea, m_ui, this);
    m_history = new TableHistory(
        m_state, *m_model, [this] { refreshSettingsText(); }, this);
    auto *sheet = new TableSheetActions(
        *m_grid, *m_model, *m_history, [this] { m_editors->closeList(); }, this);
    // Undo and redo work wherever the focus is in the window, also with the
    // table hidden by a choice of station type; an edit field keeps its own.
    for (const auto kind : {TableSheetActions::Undo, TableSheetActions::Redo}) {
        sheet->action(kind)->setShortcutContext(Qt::WindowShortcut);
        addAction(sheet->action(kind));
    }
    // The table's keys work as well while a list over one of its cells has the focus.
    auto *leave = new FocusLeave(this);
    leave->watch(*m_grid);
    leave->watch(*m_settingsText);
    for (QComboBox *list : m_editors->lists()) {
        list->addActions(m_grid->actions());
        leave->watch(*list, m_grid);
    }
    // What was checked is no longer what the window shows.
    connect(m_history, &TableHistory::edited, this, [this] { m_state.dataValid = false; });
    // A channel file dropped anywhere on the window is loaded, also over the settings text.
    m_settingsText->setAcceptDrops(false);
    setAcceptDrops(true);
    // Lines typed into the settings text become a step when the text is left.
    connect(qApp, &QApplication::focusChanged, m_history, [this](QWidget *old, QWidget *) {
        if (old == m_settingsText)
            m_history->recordSettingsEdit();
    });
}

MainWindow::~MainWindow()
{
    // The widgets going with the window move the focus: nothing of the
    // window may hear of it once its own part is gone.
    disconnect(qApp, &QApplication::focusChanged, m_history, nullptr);
}

void MainWindow::showWorkArea(bool shown)
{
    m_workArea->setVisible(shown);
    // A hidden field keeps the focus otherwise and takes the window's keys
    // (its own Ctrl+Z before the table's undo).
    if (!shown && m_workArea->isAncestorOf(QApplication::focusWidget()))
        setFocus(Qt::OtherFocusReason);
}

void MainWindow::showSettingsText(bool shown)
{
    m_settingsText->setVisible(shown);
}

void MainWindow::showTable(bool shown)
{
    m_grid->setVisible(shown);
}

void MainWindow::showRepeaterPanel(bool shown)
{
    m_repeaterPanel->setVisible(shown);
}

void MainWindow::refreshSettingsText()
{
    m_refreshingMemo = true;
    m_settingsText->setPlainText(SettingsText::toPlainText(m_state.settingsLines));
    m_refreshingMemo = false;
}

void MainWindow::onSettingsEdited()
{
    if (m_refreshingMemo)
        return;
    m_state.settingsLines = SettingsText::fromPlainText(m_settingsText->toPlainText());
    m_state.dataValid = false;
}

void MainWindow::refreshStationMenus()
{
    setWindowTitle(m_state.profile().caption);
    for (std::size_t i = 0; i < m_stationActions.size(); ++i)
        m_stationActions[i]->setChecked(StationProfiles::all()[i] == m_state.stationKind);
    if (m_state.chosenModule >= 0 && std::size_t(m_state.chosenModule) < m_moduleActions.size())
        m_moduleActions[static_cast<std::size_t>(m_state.chosenModule)]->setChecked(true);
}

void MainWindow::applyStationSelection()
{
    // caption and check mark, work area hidden, start frequency, memo and table
    // hidden; the core has already taken the profile's values and detached the boxes
    refreshStationMenus();
    showWorkArea(false);
    m_firstFrequencyEdit->setText(QString::number(m_state.profile().lowKHz));
    showSettingsText(false);
    showTable(false);
}

void MainWindow::onRepeater()
{
    guarded(m_ui, [&] {
        if (!m_state.dataValid) {
            m_ui.showMessage(
                QStringLiteral("Прежде чем производить настройку рентраслятора проверьте введеные данные !!!"));
            return;
        }
        showRepeaterPanel(true);
    });
}

void MainWindow::restoreNormal()
{
    // Back as it was before it was minimised: a maximised window stays so.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
}

void MainWindow::restoreAfterTransfer()
{
    restoreNormal();
    showWorkArea(true);
    showSettingsText(true);
    showTable(true);
}

void MainWindow::onExit()
{
    close();
}

void MainWindow::onTransfer()
{
    showMinimized();
    emit transferDialogRequested();
}

void MainWindow::onBatchWrite()
{
    // As before a write: only checked data go to the stations.
    if (!m_state.dataValid) {
        m_ui.showRefusal(Refusal{LinkTexts::dataNotChecked()});
        return;
    }
    emit batchDialogRequested();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A transfer holds the line and the radio image: the window stays until it
    // is over. Otherwise closing it ends the run, as "Выход" does; the dialogs
    // do not keep the program alive (they are made without Qt::WA_QuitOnClose).
    if (m_ports.transferRunning()) {
        event->ignore();
        return;
    }
    // Work not saved since the last template, load, save or read is not lost
    // unasked; "Да" saves it first, and a save not made keeps the window.
    m_editors->closeList();
    if (hasUnsavedChanges()) {
        switch (m_ui.askYesNoCancel(QStringLiteral("Сохранить изменения?"))) {
        case UiServices::Answer::Yes:
            if (!saveToFile()) {
                event->ignore();
                return;
            }
            break;
        case UiServices::Answer::No:
            break;
        case UiServices::Answer::Cancel:
            event->ignore();
            return;
        }
    }
    WindowGeometry::store(*this, RecentFiles::defaultStoreFile());
    event->accept();
}

bool MainWindow::hasUnsavedChanges()
{
    return m_history->hasUnsavedChanges();
}

void MainWindow::onCheck()
{
    // The check clears the data-valid flag before anything can fail, so a
    // platform error (a conversion, MyTemp.ini) also leaves the data unchecked.
    guarded(m_ui, [&] {
        const DataCheckResult result = m_state.check(Paths::tempSettingsFile());
        if (result.refusal)
            m_ui.showRefusal(*result.refusal);
        else
            m_ui.showMessage(DataCheck::successText());
    });
}

void MainWindow::onCreateReport()
{
    guarded(m_ui, [&] {
        if (const auto refusal = ReportRefusals::forMenu(m_state.dataValid)) {
            m_ui.showRefusal(*refusal);
            return;
        }
        showMinimized();
        emit reportDialogRequested();
    });
}

// What a read from the station shows while the reply arrives.

void MainWindow::readStarted()
{
    m_history->beginWholeStep();
    m_beforeRead = m_state;
    m_readSettingsShown = false;
}

void MainWindow::readReceived(const QByteArray &reply)
{
    const StationReply decoded = StationReply::decode(reply, m_beforeRead.stationKind);
    AppState after = AppState::afterRead(m_beforeRead, decoded);
    if (!(after.table == m_state.table)) {
        const ChannelTableModel::TableChange change(*m_model);
        m_state = std::move(after);
    } else {
        m_state = std::move(after);
    }
    refreshSettingsText();
    // The station type the band code names is selected as from its menu:
    // caption, check mark, start frequency, and work area, settings text
    // and table hidden; a code that names none changes nothing there.
    if (decoded.settingsComplete() && !m_readSettingsShown) {
        m_readSettingsShown = true;
        if (decoded.selectedStation())
            applyStationSelection();
    }
    if (decoded.complete()) {
        showTable(true);
        refreshStationMenus();
    }
}

void MainWindow::readEnded(bool)
{
    m_history->endWholeStep(QStringLiteral("Чтение из станции"));
    m_history->markSaved();
}
