#pragma once

#include "table/channeltable.h"

#include <QAbstractTableModel>

// Shows the channel table: model row i is table row i + 1 (row 0 is the header,
// shown by the horizontal header view). The boxes of columns 12, 14 and 17 are
// the check state of their cells, so they scroll with them.
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

    // The table was rebuilt or changed outside the model.
    void reload();
    // One cell was changed outside the model.
    void cellChanged(int column, int tableRow);

    static int tableRow(const QModelIndex &index) { return index.row() + 1; }

private:
    ChannelTable &m_table;
};
