#include "report/tformprotokol.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TFormProtokol::TFormProtokol(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
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

    m_edit1 = new QLineEdit(QStringLiteral("К7ТВ-12345"), this);
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

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
