#include "transfer/tform1.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

TForm1::TForm1(QWidget *parent) : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Прием и передача информации в станцию"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(330, 190);

    auto *ports = new QFrame(this);
    ports->setObjectName(QStringLiteral("Panel1"));
    ports->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ports->setGeometry(10, 10, 110, 64);
    m_radio1 = new QRadioButton(QStringLiteral(" COM1"), ports);
    m_radio1->setObjectName(QStringLiteral("RadioButton1"));
    m_radio1->setToolTip(QStringLiteral("Верхний разъем"));
    m_radio1->setGeometry(8, 8, 96, 20);
    m_radio2 = new QRadioButton(QStringLiteral(" COM2"), ports);
    m_radio2->setObjectName(QStringLiteral("RadioButton2"));
    m_radio2->setToolTip(QStringLiteral("Нижний разъем"));
    m_radio2->setGeometry(8, 34, 96, 20);
    m_radio2->setChecked(true);

    m_usb = new QPushButton(QStringLiteral("USB"), this);
    m_usb->setObjectName(QStringLiteral("BitBtn4"));
    m_usb->setGeometry(10, 84, 110, 28);

    m_write = new QPushButton(QStringLiteral("Запись данных "), this);
    m_write->setObjectName(QStringLiteral("BitBtn2"));
    m_write->setGeometry(130, 10, 130, 30);
    m_read = new QPushButton(QStringLiteral("Чтение данных "), this);
    m_read->setObjectName(QStringLiteral("BitBtn3"));
    m_read->setGeometry(130, 46, 130, 30);
    m_exit = new QPushButton(QStringLiteral("Выход"), this);
    m_exit->setObjectName(QStringLiteral("BitBtn1"));
    m_exit->setGeometry(130, 150, 130, 30);
    connect(m_exit, &QPushButton::clicked, this, &TForm1::BitBtn1Click);

    m_status = new QLabel(QStringLiteral("- -"), this);
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

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::BitBtn1Click()
{
    hide();
    emit exitRequested();
}
