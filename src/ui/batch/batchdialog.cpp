#include "batch/batchdialog.h"

#include "batch/batchreports.h"
#include "batch/batchrunner.h"
#include "batch/batchstation.h"
#include "link/systemports.h"
#include "main/recentfiles.h"
#include "transfer/linksetup.h"
#include "transfer/portchoice.h"
#include "report/reportdocument.h"
#include "services/uiservices.h"
#include "main/appstate.h"

#include <QCloseEvent>
#include <QDir>
#include <QUrl>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

BatchDialog::BatchDialog(const AppState &document, UiServices &ui, PortChoice &ports, QWidget *parent)
    : QDialog(parent), m_document(document), m_ui(ui), m_ports(ports), m_runner(std::make_unique<BatchRunner>())
{
    setObjectName(QStringLiteral("BatchDialog"));
    setWindowTitle(QStringLiteral("Пакетная запись"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 560);

    m_portList = new QListWidget(this);
    m_portList->setObjectName(QStringLiteral("Ports"));
    m_idFrom = new QLineEdit(this);
    m_idFrom->setObjectName(QStringLiteral("IdFrom"));
    m_idFrom->setPlaceholderText(QStringLiteral("из файла"));
    m_idFrom->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this));
    m_reportFolder = new QLineEdit(this);
    m_reportFolder->setObjectName(QStringLiteral("ReportFolder"));
    m_reportFolder->setPlaceholderText(QStringLiteral("без протоколов"));
    m_browse = button(QStringLiteral("Обзор…"), "Browse", this);
    m_protocol = new QLineEdit(ReportDocument::defaultSerial(), this);
    m_protocol->setObjectName(QStringLiteral("ProtocolNumber"));

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_reportFolder);
    folderRow->addWidget(m_browse);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Id с"), m_idFrom);
    fields->addRow(QStringLiteral("Папка протоколов"), folderRow);
    fields->addRow(QStringLiteral("Номер протокола"), m_protocol);

    m_start = button(QStringLiteral("Начать"), "Start", this);
    m_stopButton = button(QStringLiteral("Остановить"), "Stop", this);
    m_saveLog = button(QStringLiteral("Сохранить журнал…"), "SaveLog", this);
    m_close = button(QStringLiteral("Закрыть"), "Close", this);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_start, m_stopButton, m_saveLog, m_close})
        buttons->addWidget(b);
    buttons->addStretch();

    auto *top = new QHBoxLayout;
    auto *portsBox = new QVBoxLayout;
    portsBox->addWidget(new QLabel(QStringLiteral("Порты"), this));
    portsBox->addWidget(m_portList);
    top->addLayout(portsBox, 2);
    top->addLayout(fields, 3);
    top->addLayout(buttons);

    m_rows = new QTableWidget(0, 5, this);
    m_rows->setObjectName(QStringLiteral("Rows"));
    m_rows->setHorizontalHeaderLabels({QStringLiteral("Порт"), QStringLiteral("Серийный номер"), QStringLiteral("Id"),
                                       QStringLiteral("Ход"), QStringLiteral("Результат")});
    m_rows->horizontalHeader()->setStretchLastSection(true);
    for (const auto &[column, width] : {std::pair{0, 130}, {1, 120}, {2, 60}, {3, 150}})
        m_rows->setColumnWidth(column, width);
    m_rows->verticalHeader()->setVisible(false);
    m_rows->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_files = new QLabel(this);
    m_files->setObjectName(QStringLiteral("Files"));
    m_files->setTextFormat(Qt::RichText);
    m_files->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_files->setWordWrap(true);
    m_files->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Two lines a station: a few lines high, scrolled, so that the table
    // stays the main part of the window however many stations there were.
    auto *files = new QScrollArea(this);
    files->setObjectName(QStringLiteral("FilesArea"));
    files->setWidget(m_files);
    files->setWidgetResizable(true);
    files->setFrameShape(QFrame::NoFrame);
    files->setMaximumHeight(fontMetrics().lineSpacing() * 5);
    // The port list takes what the fields beside it take, no more.
    m_portList->setMaximumHeight(fontMetrics().lineSpacing() * 8);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_rows, 1);
    layout->addWidget(m_summary);
    layout->addWidget(files);

    connect(m_browse, &QPushButton::clicked, this, [this] {
        // The folder given, else where the technician's files were used last
        // (an empty start would be the program's working folder).
        const QString given = m_reportFolder->text().trimmed();
        const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Папка протоколов"),
                                                                 given.isEmpty() ? RecentFiles().lastFolder() : given);
        if (!folder.isEmpty())
            m_reportFolder->setText(QDir::toNativeSeparators(folder));
    });
    connect(m_start, &QPushButton::clicked, this, &BatchDialog::onStart);
    connect(m_stopButton, &QPushButton::clicked, this, &BatchDialog::onStop);
    connect(m_saveLog, &QPushButton::clicked, this, &BatchDialog::onSaveLog);
    connect(m_close, &QPushButton::clicked, this, &BatchDialog::reject);
    connect(m_files, &QLabel::linkActivated, this, [this](const QString &link) {
        const QString path = QUrl(link).toLocalFile();
        m_ui.openDocument(path, [this, path] {
            m_ui.showMessage(
                QStringLiteral("Нет программы, которая открывает файл %1.").arg(QDir::toNativeSeparators(path)));
        });
    });
    connect(m_runner.get(), &BatchRunner::stepStarted, this, &BatchDialog::stepStarted);
    connect(m_runner.get(), &BatchRunner::progress, this, &BatchDialog::progress);
    connect(m_runner.get(), &BatchRunner::stationFinished, this, &BatchDialog::stationFinished);
    connect(m_runner.get(), &BatchRunner::finished, this, &BatchDialog::finished);
    setRunning(false);
    m_saveLog->setEnabled(false);
}

BatchDialog::~BatchDialog()
{
    // The program ends during a batch: the stations stop as "Остановить"
    // stops them, and their threads end before anything they use goes.
    m_runner.reset();
    if (m_ports.transferRunning())
        m_ports.setTransferRunning(false);
}

bool BatchDialog::isRunning() const
{
    return m_runner->isRunning();
}

void BatchDialog::showForBatch()
{
    listPorts();
    show();
    raise();
    activateWindow();
}

void BatchDialog::listPorts()
{
    // The ports that section Ports maps to a device that is there, then the
    // system's serial ports that no COM name reaches. None is opened here.
    QSet<QString> listed;
    QList<PortEntry> ports = LinkSetup::openablePorts(m_optionsFile);
    for (const PortEntry &port : ports)
        listed.insert(SystemPorts::deviceKey(port.device));
    for (const SystemPort &system : SystemPorts::list()) {
        if (!listed.contains(SystemPorts::deviceKey(system.device)))
            ports.append(PortEntry{system.device, system.device, system.description});
    }
    QSet<QString> checked;
    for (int i = 0; i < m_portList->count(); ++i)
        if (m_portList->item(i)->checkState() == Qt::Checked)
            checked.insert(m_portList->item(i)->data(Qt::UserRole).toString());
    m_portList->clear();
    for (const PortEntry &port : ports) {
        auto *item = new QListWidgetItem(port.label(), m_portList);
        item->setData(Qt::UserRole, port.name);
        item->setData(Qt::UserRole + 1, port.device);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(port.name) ? Qt::Checked : Qt::Unchecked);
    }
}

QStringList BatchDialog::portNames() const
{
    QStringList names;
    for (int i = 0; i < m_portList->count(); ++i)
        names.append(m_portList->item(i)->data(Qt::UserRole).toString());
    return names;
}

void BatchDialog::setPortChecked(const QString &name, bool checked)
{
    for (int i = 0; i < m_portList->count(); ++i)
        if (m_portList->item(i)->data(Qt::UserRole).toString() == name)
            m_portList->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void BatchDialog::setRunning(bool running)
{
    m_ports.setTransferRunning(running);
    for (QWidget *w : std::initializer_list<QWidget *>{m_portList, m_idFrom, m_reportFolder, m_browse, m_protocol,
                                                       m_start, m_close, m_saveLog})
        w->setEnabled(!running);
    m_stopButton->setEnabled(running);
}

void BatchDialog::closeEvent(QCloseEvent *event)
{
    // A batch holds its stations' lines: the frame's close is refused, as
    // the transfer dialog's is.
    if (isRunning()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void BatchDialog::reject()
{
    // Escape, like the frame, does nothing while a batch runs.
    if (!isRunning())
        QDialog::reject();
}
