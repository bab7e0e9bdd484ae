#pragma once

#include "common/refusal.h"

#include <QObject>

struct AppState;
class ChannelTableModel;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UiServices;

// The content of the repeater panel (Panel3): the channel number field, the
// two modes, "Запись" and "Закрыть". Its widgets are children of the panel,
// so the panel keeps its own visibility while the work area hides and shows.
class RepeaterPanel : public QObject
{
    Q_OBJECT
public:
    RepeaterPanel(QFrame &panel, AppState &state, UiServices &ui, ChannelTableModel &model);

public slots:
    void BitBtn2Click(); // "Запись"
    void BitBtn3Click(); // "Закрыть"

public:
    // The per-character rule of Edit4.
    static MaybeRefusal Edit4KeyPress(QChar key);

private:
    QFrame &m_panel;
    AppState &m_state;
    UiServices &m_ui;
    ChannelTableModel &m_model;

    QLineEdit *m_edit4 = nullptr;
    QRadioButton *m_radioButton1 = nullptr;
    QRadioButton *m_radioButton2 = nullptr;
    QPushButton *m_bitBtn2 = nullptr;
    QPushButton *m_bitBtn3 = nullptr;
};
