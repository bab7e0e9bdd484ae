#pragma once

#include "table/channeltable.h"

#include <QAbstractTableModel>

// Shows the channel table: model row i is table row i + 1 (row 0 is the header,
// shown by the horizontal header view). The boxes of columns 12, 14 and 17 are
// the check state of their cells, so they scroll with them.
//
// Views learn of every change the way Qt expects: a change of the table's
// shape (rows, boxes, header) by the core is wrapped in a reset that begins
// before the core touches the table; a single cell changed outside the model
// is announced with dataChanged.
class ChannelTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ChannelTableModel(ChannelTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The core is about to rebuild or reshape the table, and has done so.
    // Pairs may nest; the outermost pair is one model reset.
    void beginTableChange();
    void endTableChange();
    // The pair as a scope, so that a change that throws still ends the reset.
    class TableChange
    {
    public:
        explicit TableChange(ChannelTableModel &model) : m_model(model) { m_model.beginTableChange(); }
        ~TableChange() { m_model.endTableChange(); }
        TableChange(const TableChange &) = delete;
        TableChange &operator=(const TableChange &) = delete;

    private:
        ChannelTableModel &m_model;
    };

    // One cell was changed outside the model.
    void cellChanged(int column, int tableRow);

    static int tableRow(const QModelIndex &index) { return index.row() + 1; }

private:
    ChannelTable &m_table;
    int m_changeDepth = 0;
};
