#pragma once

#include "table/tablefind.h"

#include <QDialog>

class ChannelTableModel;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTableView;

// "Поиск в таблице": a small window beside the main one that finds a text in
// the channel table (TableFind) and makes the cell found the table's
// current cell. Ctrl+F shows it with its text selected, Enter and F3 find
// the next cell, Shift+F3 the one before; its line says what was found,
// that the search went on from the other end, or that nothing matches.
class TableFindDialog : public QDialog
{
    Q_OBJECT
public:
    TableFindDialog(QTableView &grid, ChannelTableModel &model, QWidget *parent);

    // Ctrl+F, F3 and Shift+F3, for the main window.
    QAction *showAction() const { return m_show; }
    QAction *nextAction() const { return m_next; }
    QAction *previousAction() const { return m_previous; }

    QLineEdit *textEdit() const { return m_text; }
    QCheckBox *wholeCellBox() const { return m_wholeCell; }
    // What the last search said.
    QString status() const;

    void showFind();
    // The next (or previous) matching cell becomes current; shows the window
    // when the text to find has yet to be typed.
    void findNext(bool backwards = false);

private:
    QAction *addKey(const char *name, const QString &text, const QKeySequence &key);
    void say(const QString &text);

    QTableView &m_grid;
    ChannelTableModel &m_model;
    QLineEdit *m_text = nullptr;
    QCheckBox *m_wholeCell = nullptr;
    QLabel *m_status = nullptr;
    QAction *m_show = nullptr;
    QAction *m_next = nullptr;
    QAction *m_previous = nullptr;
};
