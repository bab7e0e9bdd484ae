#pragma once

#include <QObject>
#include <functional>

struct AppState;
class ChannelTableModel;
class QTableView;
class RecentFiles;
class TableHistory;
class UiServices;

// The channel table leaving the program and coming in other than as a
// channel file: "Экспорт в CSV…" and "Импорт из CSV…" for spreadsheets,
// "Печать…" and "Сохранить в PDF…" for the channel sheet on paper.
//
// An import replaces the table, or puts its rows in before the current row
// when the technician chooses so, as one step of the history; like any edit
// it leaves the data unchecked. A file that is no channel table is refused
// with its first failing line and column, and the table stays as it was.
class TableExchange : public QObject
{
    Q_OBJECT
public:
    // `showTable` shows the work area with the settings text and the table.
    TableExchange(AppState &state, UiServices &ui, ChannelTableModel &model, TableHistory &history, QTableView &grid,
                  RecentFiles &recent, std::function<void()> showTable, QObject *parent = nullptr);

    void exportCsv();
    void importCsv();
    void print();
    void savePdf();

    // The file types of the export's dialog, in order: the first is the default.
    static QString csvFilter();

private:
    // False, and the technician told so, while there is no table to give.
    bool hasTable();
    QString proposedName(const QString &suffix) const;
    void take(const class ChannelTable &imported, const QString &file);

    AppState &m_state;
    UiServices &m_ui;
    ChannelTableModel &m_model;
    TableHistory &m_history;
    QTableView &m_grid;
    RecentFiles &m_recent;
    std::function<void()> m_showTable;
};
