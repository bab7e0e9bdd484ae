#pragma once

#include "common/refusal.h"

#include <QFrame>

struct AppState;
class ChannelTableModel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UiServices;

// The repeater panel (Panel3): the channel number field, the two modes,
// "Запись" and "Закрыть". A child of the work area, it keeps its own
// visibility while the work area hides and shows.
class RepeaterPanel : public QFrame
{
    Q_OBJECT
public:
    RepeaterPanel(AppState &state, UiServices &ui, ChannelTableModel &model, QWidget *parent);

public slots:
    void BitBtn2Click(); // "Запись"
    void BitBtn3Click(); // "Закрыть"

public:
    // The per-character rule of Edit4.
    static MaybeRefusal Edit4KeyPress(QChar key);

private:
    AppState &m_state;
    UiServices &m_ui;
    ChannelTableModel &m_model;

    QLineEdit *m_edit4 = nullptr;
    QRadioButton *m_radioButton1 = nullptr;
    QRadioButton *m_radioButton2 = nullptr;
    QPushButton *m_bitBtn2 = nullptr;
    QPushButton *m_bitBtn3 = nullptr;
};
