#pragma once

#include "common/refusal.h"

#include <QFrame>

struct AppState;
class ChannelTableModel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UiServices;

// The repeater panel (object name Panel3): the channel number field, the two modes,
// "Запись" and "Закрыть". A child of the work area, it keeps its own
// visibility while the work area hides and shows.
class RepeaterPanel : public QFrame
{
    Q_OBJECT
public:
    RepeaterPanel(AppState &state, UiServices &ui, ChannelTableModel &model, QWidget *parent);

public slots:
    void onWrite(); // "Запись"
    void onClose(); // "Закрыть"

public:
    // The per-character rule of the channel number field.
    static MaybeRefusal channelKeyRule(QChar key);

private:
    AppState &m_state;
    UiServices &m_ui;
    ChannelTableModel &m_model;

    QLineEdit *m_channelEdit = nullptr;
    QRadioButton *m_receiveButton = nullptr;
    QRadioButton *m_transmitButton = nullptr;
    QPushButton *m_writeButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};
