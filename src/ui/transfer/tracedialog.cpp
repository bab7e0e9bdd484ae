#include "transfer/tracedialog.h"

#include "common/paths.h"
#include "common/platformerror.h"
#include "services/uiservices.h"
#include "trace/tracelisting.h"
#include "trace/tracestore.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TraceDialog::TraceDialog(const QString &path, UiServices &ui, QWidget *parent) : QDialog(parent), m_path(path), m_ui(ui)
{
    setObjectName(QStringLiteral("TraceDialog"));
    setWindowTitle(QStringLiteral("Журнал обмена"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("TraceText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    try {
        m_text->setPlainText(QStringLiteral("Файл: %1\n").arg(QDir::toNativeSeparators(path))
                             + TraceListing::text(TraceStore::load(path)));
    } catch (const PlatformError &e) {
        m_text->setPlainText(e.text());
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *saveButton = buttons->addButton(QStringLiteral("Сохранить…"), QDialogButtonBox::ActionRole);
    saveButton->setObjectName(QStringLiteral("SaveTrace"));
    connect(saveButton, &QPushButton::clicked, this, &TraceDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    // Wide enough for a line of a record's 18 bytes.
    const QFontMetrics metrics(m_text->font());
    QSize size(metrics.horizontalAdvance(QLatin1Char('0')) * 100, metrics.lineSpacing() * 36);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

QString TraceDialog::text() const
{
    return m_text->toPlainText();
}

void TraceDialog::save()
{
    const QString target = m_ui.askSaveFileName(UiServices::FileDialog{
        QStringLiteral("Сохранить журнал обмена"), QStringLiteral("Журналы обмена (*.txt)|*.txt"),
        Paths::documentsFolder(), QFileInfo(m_path).fileName()});
    if (target.isEmpty())
        return;
    QFile::remove(target); // the dialog asked before replacing it
    if (!QFile::copy(m_path, target))
        m_ui.showMessage(
            QStringLiteral("Не удалось сохранить журнал обмена в файл \"%1\"").arg(QDir::toNativeSeparators(target)));
}
