#include "main/tformmain.h"
#include "main/celleditors.h"
#include "main/channeltablemodel.h"
#include "main/repeaterpanel.h"
#include "main/tablehistory.h"
#include "main/tablesheetactions.h"
#include "services/guard.h"
#include "services/uiservices.h"
#include "table/settingstext.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
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

QAction *addEntry(QMenu *menu, const char *name, const QString &caption, const QString &hint = {})
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    return a;
}
} // namespace

TFormMain::TFormMain(AppState &state, UiServices &ui, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_ui(ui)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(m_state.profile.caption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    // The layout is made for an 8-point font; the family stays the desktop's.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    buildMenu();
    buildWorkArea();
    const int height = kClientHeight + menuBar()->sizeHint().height();
    setFixedSize(kClientWidth, height);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, height / 2));

    // What the creation of the window sets: the 144-174 profile is in force
    // without the steps of a selection, nothing is hidden anew.
    m_state.dataValid = false;
    m_state.portNumber = 0;
    m_state.bandCode = 0;
    m_state.moduleCode = 0;
    m_edit2->setText(QString::number(m_state.profile.lowKHz));
    refreshStationMenus();
}

QAction *TFormMain::action(const char *name) const
{
    return findChild<QAction *>(QLatin1String(name));
}

void TFormMain::buildMenu()
{
    QMenuBar *bar = menuBar();

    QMenu *channels = bar->addMenu(QStringLiteral("Каналы"));
    channels->setObjectName(QStringLiteral("N1"));
    channels->menuAction()->setToolTip(QStringLiteral("Программирование каналов радоистанции"));
    channels->menuAction()->setStatusTip(QStringLiteral("Программирование каналов радоистанции"));
    connect(addEntry(channels, "N2", QStringLiteral("Создать шаблон")), &QAction::triggered, this, &TFormMain::N2Click);
    channels->addSeparator();
    connect(addEntry(channels, "N3", QStringLiteral("Запись в файл")), &QAction::triggered, this, &TFormMain::N3Click);
    connect(addEntry(channels, "N4", QStringLiteral("Чтение файла")), &QAction::triggered, this, &TFormMain::N4Click);

    QMenu *extra = bar->addMenu(QStringLiteral("Доп. оборудование"));
    extra->setObjectName(QStringLiteral("N5"));
    QMenu *modules = extra->addMenu(QStringLiteral("Модули "));
    modules->setObjectName(QStringLiteral("N8"));
    auto *moduleGroup = new QActionGroup(this);
    static const char *const moduleNames[6] = {"N10", "N06200031", "N12", "N9", "N13", "N14"};
    const std::array<void (TFormMain::*)(), 6> moduleSlots{&TFormMain::N10Click, &TFormMain::N06200031Click,
                                                            &TFormMain::N12Click, &TFormMain::N9Click,
                                                            &TFormMain::N13Click, &TFormMain::N14Click};
    for (std::size_t i = 0; i < 6; ++i) {
        QAction *a = addEntry(modules, moduleNames[i], Modules::captions()[i]);
        a->setCheckable(true);
        moduleGroup->addAction(a);
        connect(a, &QAction::triggered, this, moduleSlots[i]);
        m_moduleActions[i] = a;
    }

    QAction *repeater = bar->addAction(QStringLiteral("Ретранслятор"));
    repeater->setObjectName(QStringLiteral("N11"));
    connect(repeater, &QAction::triggered, this, &TFormMain::N11Click);

    QAction *check = bar->addAction(QStringLiteral("Контроль"));
    check->setObjectName(QStringLiteral("N19"));
    check->setToolTip(QStringLiteral("Проверка введенных данных"));
    check->setStatusTip(QStringLiteral("Проверка введенных данных"));
    connect(check, &QAction::triggered, this, &TFormMain::N19Click);

    QMenu *station = bar->addMenu(QStringLiteral("Станция"));
    station->setObjectName(QStringLiteral("N16"));
    connect(addEntry(station, "N22", QStringLiteral("Создать протокол")), &QAction::triggered, this,
            &TFormMain::N22Click);
    station->addSeparator();
    connect(addEntry(station, "N17", QStringLiteral("Запись/Чтение данных")), &QAction::triggered, this,
            &TFormMain::N17Click);
    QMenu *types = station->addMenu(QStringLiteral("Тип радиостанции"));
    types->setObjectName(QStringLiteral("N18"));
    auto *typeGroup = new QActionGroup(this);
    const auto addType = [&](const char *name, const QString &caption, void (TFormMain::*slot)()) {
        QAction *a = addEntry(types, name, caption);
        a->setCheckable(true);
        typeGroup->addAction(a);
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_stationActions[0] = addType("N3062", StationProfiles::get(StationKind::Band30_60).menuCaption, &TFormMain::N3062Click);
    m_stationActions[1] = addType("N3063", StationProfiles::get(StationKind::Band144_174).menuCaption, &TFormMain::N3063Click);
    addType("N3064", StationProfiles::disabledMenuCaption(), nullptr)->setEnabled(false);
    m_stationActions[2] = addType("N3065", StationProfiles::get(StationKind::Band400_486).menuCaption, &TFormMain::N3065Click);

    QAction *quit = bar->addAction(QStringLiteral("Выход"));
    quit->setObjectName(QStringLiteral("N20"));
    quit->setToolTip(QStringLiteral("Закрытие программы"));
    quit->setStatusTip(QStringLiteral("Закрытие программы"));
    connect(quit, &QAction::triggered, this, &TFormMain::N20Click);
}

void TFormMain::buildWorkArea()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);

    m_panel1 = new QFrame(client);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setGeometry(0, 0, 797, 396);
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel1->hide();

    buildTemplatePanel();

    m_memo1 = new QPlainTextEdit(m_panel1);
    m_memo1->setObjectName(QStringLiteral("Memo1"));
    m_memo1->setGeometry(251, 6, 280, 145);
    m_memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background-color: rgb(180,105,255); }"));
    m_memo1->hide();
    connect(m_memo1, &QPlainTextEdit::textChanged, this, &TFormMain::onSettingsEdited);

    m_panel3 = new QFrame(m_panel1);
    m_panel3->setObjectName(QStringLiteral("Panel3"));
    m_panel3->setGeometry(537, 6, 252, 143);
    m_panel3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel3->hide();

    m_model = new ChannelTableModel(m_state.table, this);
    new RepeaterPanel(*m_panel3, m_state, m_ui, *m_model); // owned by Panel3
    m_grid = new QTableView(m_panel1);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setGeometry(5, 155, 787, 235);
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setMinimumSectionSize(10);
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
    auto *editors = new CellEditors(*m_grid, *m_model, *m_panel1, m_ui, this);
    m_history = new TableHistory(m_state, *m_model, [this] { refreshSettingsText(); }, this);
    new TableSheetActions(*m_grid, *m_model, m_history->stack(), [editors] { editors->giveBackOpenList(); }, this);
}

void TFormMain::showWorkArea(bool shown)
{
    m_panel1->setVisible(shown);
}

void TFormMain::showSettingsText(bool shown)
{
    m_memo1->setVisible(shown);
}

void TFormMain::showTable(bool shown)
{
    m_grid->setVisible(shown);
}

void TFormMain::showRepeaterPanel(bool shown)
{
    m_panel3->setVisible(shown);
}

void TFormMain::refreshSettingsText()
{
    m_refreshingMemo = true;
    m_memo1->setPlainText(SettingsText::toPlainText(m_state.settingsLines));
    m_refreshingMemo = false;
}

void TFormMain::onSettingsEdited()
{
    if (!m_refreshingMemo)
        m_state.settingsLines = SettingsText::fromPlainText(m_memo1->toPlainText());
}

void TFormMain::refreshStationMenus()
{
    setWindowTitle(m_state.profile.caption);
    for (std::size_t i = 0; i < m_stationActions.size(); ++i)
        m_stationActions[i]->setChecked(StationProfiles::all()[i] == m_state.stationKind);
    if (m_state.moduleMenuIndex >= 0 && m_state.moduleMenuIndex < 6)
        m_moduleActions[static_cast<std::size_t>(m_state.moduleMenuIndex)]->setChecked(true);
}

void TFormMain::applyStationSelection()
{
    // caption and check mark, work area hidden, start frequency, memo and table
    // hidden; the core has already taken the profile's values and detached the boxes
    refreshStationMenus();
    showWorkArea(false);
    m_edit2->setText(QString::number(m_state.profile.lowKHz));
    showSettingsText(false);
    showTable(false);
}

void TFormMain::selectStationType(StationKind kind)
{
    guarded(m_ui, [&] {
        {
            const ChannelTableModel::TableChange change(*m_model); // the boxes are detached
            m_state.selectStation(kind);
        }
        applyStationSelection();
    });
}

void TFormMain::N3062Click() { selectStationType(StationKind::Band30_60); }
void TFormMain::N3063Click() { selectStationType(StationKind::Band144_174); }
void TFormMain::N3065Click() { selectStationType(StationKind::Band400_486); }

void TFormMain::selectModule(int code)
{
    m_state.setModuleCode(static_cast<std::uint8_t>(code));
    refreshStationMenus();
}

void TFormMain::N10Click() { selectModule(0); }
void TFormMain::N06200031Click() { selectModule(1); }
void TFormMain::N12Click() { selectModule(2); }
void TFormMain::N9Click() { selectModule(3); }
void TFormMain::N13Click() { selectModule(4); }
void TFormMain::N14Click() { selectModule(5); }

void TFormMain::N11Click()
{
    guarded(m_ui, [&] {
        if (!m_state.dataValid) {
            m_ui.showMessage(QStringLiteral("Прежде чем производить настройку рентраслятора проверьте введеные данные !!!"));
            return;
        }
        showRepeaterPanel(true);
    });
}

void TFormMain::restoreNormal()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    showNormal();
}

void TFormMain::restoreAfterTransfer()
{
    restoreNormal();
    showWorkArea(true);
    showSettingsText(true);
    showTable(true);
}

void TFormMain::N20Click()
{
    close();
}

void TFormMain::N17Click()
{
    showMinimized();
    emit transferDialogRequested();
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    // A transfer holds the line and the radio image: the window stays until it
    // is over. Otherwise closing it ends the run, as "Выход" does; the dialogs
    // do not keep the program alive (they are made without Qt::WA_QuitOnClose).
    if (m_state.transferRunning) {
        event->ignore();
        return;
    }
    event->accept();
}
