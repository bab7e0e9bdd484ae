#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

// "Прием и передача информации в станцию": the transfer dialog. It is made at
// start, hidden, and shown beside the main window (not modal).
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);

    QRadioButton *radioButton1() const { return m_radio1; }
    QRadioButton *radioButton2() const { return m_radio2; }
    QPushButton *bitBtn1() const { return m_exit; }
    QPushButton *bitBtn2() const { return m_write; }
    QPushButton *bitBtn3() const { return m_read; }
    QPushButton *bitBtn4() const { return m_usb; }
    QLabel *staticText1() const { return m_status; }
    QProgressBar *gauge1() const { return m_gauge; }

public slots:
    void BitBtn1Click(); // "Выход"

signals:
    void exitRequested();

private:
    QRadioButton *m_radio1 = nullptr;
    QRadioButton *m_radio2 = nullptr;
    QPushButton *m_usb = nullptr;
    QPushButton *m_write = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_exit = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_gauge = nullptr;
};
