#include "report/tformprotokol.h"
#include "report/reportdocument.h"
#include "report/reportfiles.h"
#include "services/guard.h"
#include "main/appstate.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TFormProtokol::TFormProtokol(AppState &state, UiServices &ui, QWidget *parent)
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

    m_edit1 = new QLineEdit(ReportDocument::defaultSerial(), this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(16, 36, 305, 24);

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
    connect(m_create, &QPushButton::clicked, this, &TFormProtokol::BitBtn1Click);
    connect(m_exit, &QPushButton::clicked, this, &TFormProtokol::BitBtn2Click);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormProtokol::BitBtn1Click()
{
    guarded(m_ui, [&] {
        if (const auto refusal = ReportRefusals::forButton(m_state.dataValid)) {
            m_ui.showRefusal(*refusal);
            return;
        }
        const QString serial = m_edit1->text();
        const ReportDocument doc =
            ReportDocument::build(serial, m_state.settingsLines, m_state.table, m_state.image.channelCount());
        m_lastReport = ReportFiles::save(doc, serial, m_folder, QDateTime::currentDateTime());
        const QString report = m_lastReport;
        UiServices &ui = m_ui;
        m_ui.openDocument(report, [&ui, report] {
            ui.showMessage(QStringLiteral("Протокол сохранен в файл %1, но на этом компьютере нет программы, "
                                          "которая открывает документы .docx.")
                               .arg(QDir::toNativeSeparators(report)));
        });
    });
}

void TFormProtokol::closeEvent(QCloseEvent *event)
{
    // The frame's close button and Alt+F4 do what "Выход" does.
    event->ignore();
    BitBtn2Click();
}

void TFormProtokol::BitBtn2Click()
{
    hide();
    emit exitRequested();
}
