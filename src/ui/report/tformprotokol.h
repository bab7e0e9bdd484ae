#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// "Создание протокола": the report dialog, made at start and kept hidden.
class TFormProtokol : public QWidget
{
    Q_OBJECT
public:
    explicit TFormProtokol(QWidget *parent = nullptr);

    QLineEdit *edit1() const { return m_edit1; }
    QPushButton *bitBtn1() const { return m_create; }
    QPushButton *bitBtn2() const { return m_exit; }

private:
    QLineEdit *m_edit1 = nullptr;
    QPushButton *m_create = nullptr;
    QPushButton *m_exit = nullptr;
};
