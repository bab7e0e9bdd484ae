#include "table/channeltable.h"

namespace {
ChannelTable::Texts makeHeader(bool loaded)
{
    return {QStringLiteral("№ кан."), QStringLiteral(" Rx, кГц"),
            loaded ? QStringLiteral(" Tx, кГЦ") : QStringLiteral(" Tx, кГц"),
            QStringLiteral("CTC_Rx"), QStringLiteral("CTC_Tx"), QStringLiteral("DCS_Rx"), QStringLiteral("DCS_Tx"),
            QStringLiteral("Тон_Rx"), QStringLiteral("Тон_Tx"), QStringLiteral("  ШП"), QStringLiteral("P_max"),
            QStringLiteral("P_min"), QStringLiteral("Скан."), QStringLiteral("  SW"), QStringLiteral("Id_Тон"),
            QStringLiteral("Tx_Off"), QStringLiteral("Время"), QStringLiteral("Акт")};
}
} // namespace

const ChannelTable::Texts &ChannelTable::headerTexts()
{
    static const Texts texts = makeHeader(false);
    return texts;
}

const ChannelTable::Texts &ChannelTable::loadedHeaderTexts()
{
    static const Texts texts = makeHeader(true);
    return texts;
}

int ChannelTable::checkIndex(int column)
{
    switch (column) {
    case Scan:
        return 0;
    case IdTone:
        return 1;
    case Active:
        return 2;
    default:
        return -1;
    }
}

const std::array<int, ChannelTable::ColumnCount> &ChannelTable::columnWidths()
{
    static const std::array<int, ColumnCount> widths{40, 55, 55, 48, 47, 47, 46, 44, 42, 33, 38, 35, 33, 34, 39, 40, 41, 32};
    return widths;
}

ChannelTable::ChannelTable() : m_rows(11) {}

void ChannelTable::setRowCount(int rows)
{
    m_rows.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows));
}

const QString &ChannelTable::cell(int column, int row) const
{
    return m_rows.at(static_cast<std::size_t>(row)).cells.at(static_cast<std::size_t>(column));
}

void ChannelTable::setCell(int column, int row, const QString &text)
{
    m_rows.at(static_cast<std::size_t>(row)).cells.at(static_cast<std::size_t>(column)) = text;
}

void ChannelTable::setHeader(const Texts &texts)
{
    m_rows.front().cells = texts;
}

bool ChannelTable::hasBoxes(int row) const
{
    return row >= 1 && row < rowCount() && m_rows[static_cast<std::size_t>(row)].boxes.has_value();
}

bool ChannelTable::isChecked(int column, int row) const
{
    const int index = checkIndex(column);
    if (index < 0 || !hasBoxes(row))
        return false;
    return (*m_rows[static_cast<std::size_t>(row)].boxes)[static_cast<std::size_t>(index)];
}

void ChannelTable::setChecked(int column, int row, bool checked)
{
    const int index = checkIndex(column);
    if (index < 0 || !hasBoxes(row))
        return;
    (*m_rows[static_cast<std::size_t>(row)].boxes)[static_cast<std::size_t>(index)] = checked;
}

void ChannelTable::addCheckBoxes()
{
    detachCheckBoxes();
    for (std::size_t r = 1; r < m_rows.size(); ++r)
        m_rows[r].boxes = std::array<bool, 3>{true, false, true};
    m_checkBoxRowCount = rowCount();
}

void ChannelTable::detachCheckBoxes()
{
    for (Row &row : m_rows)
        row.boxes.reset();
}
