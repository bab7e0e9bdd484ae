#pragma once

#include "table/columnvalue.h"

#include <QDialog>

class ChannelTableModel;
class QAction;
class QComboBox;
class QLineEdit;
class QTableView;
class UiServices;

// "Задать для выделенных…": one value for every selected cell, chosen from
// the column's list (a box: "да" or "нет") or typed (the channel number,
// Rx and Tx). Refused, before anything is asked, for a selection across
// columns of different kinds; the value goes in as one step of the history.
class ColumnValueDialog : public QDialog
{
    Q_OBJECT
public:
    ColumnValueDialog(QTableView &grid, ChannelTableModel &model, UiServices &ui, QWidget *parent);

    // The entry of the table's context menu.
    QAction *action() const { return m_action; }

    // Asks for the value of the selection, or says why it takes none.
    void start();

    QComboBox *list() const { return m_list; }
    QLineEdit *typed() const { return m_typed; }

private:
    void apply();

    QTableView &m_grid;
    ChannelTableModel &m_model;
    UiServices &m_ui;
    QAction *m_action = nullptr;
    QComboBox *m_list = nullptr;
    QLineEdit *m_typed = nullptr;
    class QLabel *m_what = nullptr;
    class QPushButton *m_ok = nullptr;
    TableSheet::Range m_range;
    ColumnValue::Choice m_choice;
};
