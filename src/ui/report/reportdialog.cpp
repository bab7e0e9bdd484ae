#include "report/reportdialog.h"
#include "report/reportdocument.h"
#include "report/docxwriter.h"
#include "report/reportfile.h"
#include "report/reportfiles.h"
#include "reportpaper.h"
#include "services/guard.h"
#include "main/appstate.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
// The file types of the save dialog: the first is the default.
const QString kFormats = QStringLiteral("Документ Word|*.docx|Документ PDF|*.pdf");
} // namespace

ReportDialog::ReportDialog(AppState &state, UiServices &ui, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint), m_state(state), m_ui(ui),
      m_folder(ReportFiles::reportsFolder())
{
    setObjectName(QStringLiteral("FormProtokol"));
    setWindowTitle(QStringLiteral("Создание протокола"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(337, 115);

    auto *label = new QLabel(QStringLiteral("Серийный номер протокола"), this);
    label->setObjectName(QStringLiteral("Label1"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setStyleSheet(QStringLiteral("color: red;"));
    label->setGeometry(16, 10, 300, 20);

    m_serialEdit = new QLineEdit(ReportDocument::defaultSerial(), this);
    m_serialEdit->setObjectName(QStringLiteral("Edit1"));
    m_serialEdit->setGeometry(16, 36, 305, 24);

    const auto addButton = [&](const char *name, const QString &caption, int x) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setFont(bold);
        b->setStyleSheet(QStringLiteral("color: navy;"));
        b->setGeometry(x, 74, 120, 30);
        return b;
    };
    m_create = addButton("BitBtn1", QStringLiteral("Создать"), 40);
    m_exit = addButton("BitBtn2", QStringLiteral("Выход"), 180);
    connect(m_create, &QPushButton::clicked, this, &ReportDialog::onCreate);
    connect(m_exit, &QPushButton::clicked, this, &ReportDialog::onExit);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void ReportDialog::onCreate()
{
    guarded(m_ui, [&] {
        if (const auto refusal = ReportRefusals::forButton(m_state.dataValid)) {
            m_ui.showRefusal(*refusal);
            return;
        }
        const QString serial = m_serialEdit->text();
        const QDateTime now = QDateTime::currentDateTime();
        // The dialog starts in a folder that is there; the file type chosen
        // in it is the report's format.
        QDir().mkpath(m_folder);
        const UiServices::SavedFile file =
            m_ui.askSaveFile({QStringLiteral("Сохранение протокола"), kFormats, m_folder,
                              ReportFiles::baseName(serial, now) + QStringLiteral(".docx"), true});
        if (file.path.isEmpty())
            return;
        const QFileInfo chosen(file.path);
        const bool pdf = ReportPaper::isPdf(file.path) || (file.filter == 1 && chosen.suffix().isEmpty());
        const bool named = pdf ? ReportPaper::isPdf(file.path)
                               : chosen.suffix().compare(QStringLiteral("docx"), Qt::CaseInsensitive) == 0;
        const QString base = named ? chosen.completeBaseName() : chosen.fileName();
        m_folder = chosen.absolutePath();
        const ReportDocument doc =
            ReportDocument::build(serial, m_state.settingsLines, m_state.table, m_state.image.channelCount());
        // A report is a record: a name taken gets " (2)" rather than replacing it.
        m_lastReport = pdf ? ReportFile::writeNumbered(ReportPaper::pdf(doc), m_folder, base, QStringLiteral(".pdf"))
                           : DocxWriter::writeNumbered(doc, m_folder, base);
        const QString report = m_lastReport;
        const QString kind = pdf ? QStringLiteral(".pdf") : QStringLiteral(".docx");
        UiServices &ui = m_ui;
        m_ui.openDocument(report, [&ui, report, kind] {
            ui.showMessage(QStringLiteral("Протокол сохранен в файл %1, но на этом компьютере нет программы, "
                                          "которая открывает документы %2.")
                               .arg(QDir::toNativeSeparators(report), kind));
        });
    });
}

void ReportDialog::closeEvent(QCloseEvent *event)
{
    // The frame's close button and Alt+F4 do what "Выход" does.
    event->ignore();
    onExit();
}

void ReportDialog::onExit()
{
    hide();
    emit exitRequested();
}
